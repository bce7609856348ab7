#include "scenes/LogoScene.h"

#include "clock/ShowClock.h"
#include "gfx/ScreenTint.h"
#include "platform/Gl.h"
#include "scenes/PicturePass.h"
#include "scenes/SceneMath.h"
#include "scenes/TubeSweep.h"

using namespace scenemath;

Vec3 LogoScene::path(float x) {
  return Vec3(20.0f * fsin(3.0f * x), 20.0f * fcos(3.0f * x), 20.0f * fsin(5.0f * x))
      .scale(1.5f * (fcos(5.0f * x) + 1.5f));
}

LogoScene::LogoScene(ShowClock& clock)
    : TubeScene(clock,
                {"knotTexture", "knotEnvTexture", Color(1.08f, 1.44f, 2.16f, 1.8f), 200, 50,
                 spikyKnotVertex<path>, 0},
                {2500, "ribbonTexture", Color(0.6f, 0.6f, 0.72f, 0.6f), 1.0f},
                {"../bg01.tga", "logo", "../logga2.tga"}) {
  placeAtOrigin();
  camera.fov = 150.0f;
}

void LogoScene::render() {
  const Frame frame(*this, 0.1f, 0.2f, 0.3f);

  {
    PicturePass pass;
    pass.bind(*background);
    pass.colour(0.4f, 0.4f, 0.4f);
    pass.quad(-1.0f, 1.0f, -1.0f, 1.0f);
  }

  // Faster (2.5 times) on the first two of every four beats.
  updateClock((clock.beat() & 3) >= 2 ? 1.0f : 2.5f);
  tube->setTime(lastTime * 0.5f);

  const float p = 0.5f * beatPhase;
  camera.lookAt(path(p).add(Vec3(0, 10, 0)), path(p - 0.1f).add(Vec3(0, 1, 0)), Vec3(0, 1, 0));

  // The ribbon covers the path once, swinging from side to side twenty
  // times: a pure function of n that never moves.
  for (int n = 0; n < 2500; ++n) {
    const float fn = float(n);
    const float c = 3.1415927f * fsin(0.050265484f * fn);
    Particle& particle = particles->particles[std::size_t(n)];
    particle.alive = true;
    particle.color = Color(1, 1, 1, 0);
    particle.position = path(0.002513274f * fn).add(Vec3(-15.0f * fsin(c), 15.0f * fcos(c), 0.0f));
    particle.size = 8.0f;
  }
  particles->envMode = float(GL_MODULATE);

  world.draw();

  {
    // Along the bottom edge; GL_ADD saturates the colour to white on the
    // last four of every eight beats while the alpha keeps the shape.
    PicturePass pass(-1.0f, 1.0f, 1.0f, -4.0f);
    pass.bind(*picture);
    pass.blend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, float(GL_ADD));
    const float level = (clock.beat() & 7) >= 4 ? 1.0f : 0.0f;
    pass.colour(level, level, level);
    pass.quad(-1.0f, 1.0f, -1.0f, 1.0f);
  }

  fadeIn(1.0f, 1.0f, 1.0f, 1.0f);
  if ((clock.beat() & 7) < 2) drawScreenTint(0.0f, 0.0f, 0.0f, 0.5f);
}
