// Scene 0, the opening: four glowing tube arms at quarter turns about the x
// axis, 500 sparks swirling on a sphere around them, a camera that circles
// and bobs with the beat, a slowly zooming background and a light-blue
// fade-in over 40 seconds.
#pragma once

#include "scenes/TubeScene.h"

class ArmsScene : public TubeScene {
 public:
  explicit ArmsScene(ShowClock& clock);
  void render() override;
};
