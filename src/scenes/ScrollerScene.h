// Scene 5, flat: a wide picture scrolls sideways under a flickering additive
// layer that scrolls upwards, 30 large soft sparks drift just in front of the
// eye, and the whole fades in from black over two seconds.
#pragma once

#include <memory>

#include "gfx/ParticleSystem.h"
#include "scenes/Scene.h"

class ScrollerScene : public Scene {
 public:
  explicit ScrollerScene(ShowClock& clock);
  void render() override;

 private:
  Texture* scroller;
  Texture* scrollOver;
  std::unique_ptr<ParticleSystem> sparks;
};
