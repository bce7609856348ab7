#include "scenes/KnotScene.h"

#include "clock/ShowClock.h"
#include "gfx/ScreenTint.h"
#include "platform/Gl.h"
#include "scenes/PicturePass.h"
#include "scenes/SceneMath.h"
#include "scenes/TubeSweep.h"

using namespace scenemath;

Vec3 KnotScene::path(float x) {
  return Vec3(10.0f * fsin(4.0f * x), 10.0f * fcos(4.0f * x), 10.0f * fsin(3.0f * x))
      .scale(1.5f * (fcos(x) + 1.5f));
}

KnotScene::KnotScene(ShowClock& clock)
    : TubeScene(clock,
                {"knotTexture", "knotEnvTexture", Color(0.54f, 0.72f, 1.44f, 1.8f), 200, 50,
                 spikyKnotVertex<path>, 0},
                {500, "swarmTexture", Color(5, 4.5f, 2, 1), 5.0f},
                {"../bg02.tga", "portrait", "../dransel.tga"}) {
  placeAtOrigin();
}

void KnotScene::render() {
  const Frame frame(*this, 0.1f, 0.2f, 0.3f);

  {
    PicturePass pass;
    pass.bind(*background);
    pass.quad(-1.0f, 1.0f, -1.0f, 1.0f);
  }

  updateClock(standardBeatFactor());
  tube->setTime(lastTime * 0.5f);

  const float t = lastTime;
  camera.lookAt(
      path(0.5f * t).scale(1.5f), path(t + 0.1f).scale(1.5f),
      rotated(5.0f * fsin(0.1f * t), 5.0f * fsin(0.15f * t), 5.0f * fsin(0.2f * t), Vec3(0, 1, 0)));

  for (int n = 0; n < 500; ++n) {
    const float fn = float(n);
    const float d = fsin(1.13f * t + 0.07f * fn);
    const float w = 12.0f * fsin(1.5f * d) + 5.0f;
    Particle& p = particles->particles[std::size_t(n)];
    p.alive = true;
    p.color = Color(1, 1, 1, 0);
    p.position = Vec3(w * fsin(3.1f * t + 10.1f * fn), w * fsin(5.12f * t + 5.0f * fn), 50.0f * d);
    p.size = 3.0f * fsin(5.0f * fn) + 4.0f;
  }
  particles->envMode = float(GL_MODULATE);

  world.draw();

  {
    // A wider projection puts the portrait at the lower left.
    PicturePass pass(-1.0f, 2.3f, 1.0f, -2.0f);
    pass.bind(*picture);
    pass.blend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    pass.quad(-1.0f, 1.0f, -1.0f, 1.0f);
  }

  fadeIn(1.0f, 1.0f, 1.0f, 1.0f);
  if ((clock.beat() & 7) < 2) drawScreenTint(0.0f, 0.0f, 0.0f, 0.5f);
}
