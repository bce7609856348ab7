// Scene 2: a thin spiky tube knotted around a closed path, seen from a camera
// that slides along a larger copy of the path with a tumbling up vector; a
// pulsing swarm of 500 particles, a background, a portrait at the lower left,
// and the frame darkened by half on two beats out of eight.
#pragma once

#include "scenes/TubeScene.h"

class KnotScene : public TubeScene {
 public:
  explicit KnotScene(ShowClock& clock);
  void render() override;

  // The knot; the camera slides along a copy 1.5 times as large.
  static Vec3 path(float x);
};
