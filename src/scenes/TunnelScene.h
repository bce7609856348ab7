// Scene 1: the camera rides through a wide tube knotted around a closed
// path, jumping back to a time-driven view on the first three of every
// sixteen beats; a wobbling portrait in the middle and a white strobe that
// follows beatPhase.
#pragma once

#include "scenes/TubeScene.h"

class TunnelScene : public TubeScene {
 public:
  explicit TunnelScene(ShowClock& clock);
  void render() override;

  // The knot the tube and the camera follow.
  static Vec3 path(float x);
};
