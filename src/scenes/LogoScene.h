// Scene 7: a spiky tube knotted around a large closed path with a wavy ribbon
// of 2,500 particles along it; the camera flies ten units above the path
// through a 150-degree lens, faster on two beats of four. A dimmed
// background, a logo along the bottom edge that flashes white with the beat,
// and the frame darkened by half on two beats out of eight.
#pragma once

#include <memory>

#include "gfx/Camera.h"
#include "gfx/Mesh.h"
#include "gfx/ParticleSystem.h"
#include "gfx/World.h"
#include "scenes/Scene.h"

class LogoScene : public Scene {
 public:
  explicit LogoScene(ShowClock& clock);
  void render() override;

  static Vec3 path(float x);

 private:
  Camera camera;
  World world;
  Texture* background;
  Texture* logo;
  std::unique_ptr<Mesh> knot;
  std::unique_ptr<ParticleSystem> ribbon;
};
