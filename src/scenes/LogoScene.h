// Scene 7: a spiky tube knotted around a large closed path with a wavy ribbon
// of 2,500 particles along it; the camera flies ten units above the path
// through a 150-degree lens, faster on two beats of four. A dimmed
// background, a logo along the bottom edge that flashes white with the beat,
// and the frame darkened by half on two beats out of eight.
#pragma once

#include "scenes/TubeScene.h"

class LogoScene : public TubeScene {
 public:
  explicit LogoScene(ShowClock& clock);
  void render() override;

  // The closed path of the tube, the ribbon and the camera's flight.
  static Vec3 path(float x);
};
