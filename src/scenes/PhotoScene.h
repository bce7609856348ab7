// Scenes 3 and 4: one person each. A jittering logo behind everything, 100
// glowing particles tumbling through a very wide lens, four photographs added
// over each other and pulsing in brightness, and a white fade-in of eight
// seconds. The two scenes differ only in their pictures and share nothing.
#pragma once

#include <array>
#include <memory>

#include "gfx/Camera.h"
#include "gfx/ParticleSystem.h"
#include "scenes/Scene.h"

class PhotoScene : public Scene {
 public:
  PhotoScene(ShowClock& clock, const std::array<const char*, 4>& photoPaths,
             const char* logoPath);
  void render() override;

 private:
  Camera camera;
  std::array<Texture*, 4> photos;
  Texture* logo;
  std::unique_ptr<ParticleSystem> cloud;
};
