// Scene 2: a thin spiky tube knotted around a closed path, seen from a camera
// that slides along a larger copy of the path with a tumbling up vector; a
// pulsing swarm of 500 particles, a background, a portrait at the lower left,
// and the frame darkened by half on two beats out of eight.
#pragma once

#include <memory>

#include "gfx/Camera.h"
#include "gfx/Mesh.h"
#include "gfx/ParticleSystem.h"
#include "gfx/World.h"
#include "scenes/Scene.h"

class KnotScene : public Scene {
 public:
  explicit KnotScene(ShowClock& clock);
  void render() override;

  static Vec3 path(float x);

 private:
  Camera camera;
  World world;
  Texture* background;
  Texture* portrait;
  std::unique_ptr<Mesh> knot;
  std::unique_ptr<ParticleSystem> swarm;
};
