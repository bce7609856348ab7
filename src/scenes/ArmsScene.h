// Scene 0, the opening: four glowing tube arms at quarter turns about the x
// axis, 500 sparks swirling on a sphere around them, a camera that circles
// and bobs with the beat, a slowly zooming background and a light-blue
// fade-in over 40 seconds.
#pragma once

#include <memory>

#include "gfx/Camera.h"
#include "gfx/Mesh.h"
#include "gfx/ParticleSystem.h"
#include "gfx/World.h"
#include "scenes/Scene.h"

class ArmsScene : public Scene {
 public:
  explicit ArmsScene(ShowClock& clock);
  void render() override;

 private:
  Camera camera;
  World world;
  Texture* background;
  Texture* overlay;
  std::unique_ptr<Mesh> arms;
  std::unique_ptr<ParticleSystem> sparks;
};
