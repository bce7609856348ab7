#include "scenes/ScrollerScene.h"

#include "clock/ShowClock.h"
#include "gfx/Image.h"
#include "gfx/ScreenTint.h"
#include "platform/Gl.h"
#include "platform/Random.h"
#include "scenes/PicturePass.h"
#include "scenes/SceneMath.h"

using namespace scenemath;

ScrollerScene::ScrollerScene(ShowClock& clock) : Scene(clock) {
  Image pictures(512, 512);
  scroller = keep("scroller", pictures.loadTexture("../scroller.tga"));
  scrollOver = keep("scrollOver", pictures.loadTexture("../scroll_over.tga"));
  Image surfaces(256, 256);
  Texture* const sparkTexture =
      keep("sparkTexture", surfaces.radialTexture(Color(1, 1, 1.5f, 1), Color(0, 0, 0, 0), 2.0f));
  sparks = std::make_unique<ParticleSystem>(30);
  sparks->setTexture(sparkTexture);
}

void ScrollerScene::render() {
  const Frame frame(*this, 0.0f, 0.0f, 0.0f);

  {
    // One picture width every 100 seconds; the textures repeat.
    const float s = lastTime;
    const float h = 0.01f * s;
    PicturePass pass;
    const float grey =
        0.2f + (fsin(1.2f * s) + fsin(3.4f * s) + fsin(0.34f * s) + fsin(2.0f * s)) / 8.0f;
    pass.bind(*scroller);
    pass.colour(grey, grey, grey);
    pass.quad({{-1, -1, h, 1}, {1, -1, h + 0.5f, 1}, {1, 1, h + 0.5f, 0}, {-1, 1, h, 0}});

    pass.blend(GL_ONE, GL_ONE);
    pass.bind(*scrollOver);
    const float flicker = 0.5f - (float(platform::rand() % 100) * 0.002f - 0.001f);
    pass.colour(flicker, flicker, flicker);
    pass.quad(
        {{-1, -1, 0, 1.0f - h}, {1, -1, 1, 1.0f - h}, {1, 1, 1, 0.75f - h}, {-1, 1, 0, 0.75f - h}});
  }

  updateClock(standardBeatFactor());

  const float t = lastTime;
  // The sparks brighten over the first ten seconds (and clamp after that).
  const Color sparkColour = Color(1, 1, 1, 0).scale(float(clock.seconds()) - startTime).scale(0.1f);
  for (int n = 0; n < 30; ++n) {
    const float fn = float(n);
    Particle& p = sparks->particles[std::size_t(n)];
    p.alive = true;
    p.color = sparkColour;
    p.position = Vec3(fsin(0.3f * t + 2.1f * fn), fsin(0.42f * t + 0.15f * fn), -2.0f)
                     .add(Vec3(fsin(0.43f * t + 4.1f * fn), fsin(0.22f * t + 10.15f * fn), 0.0f))
                     .scale(0.0625f);
    p.size = 0.05f * (fsin(5.0f * fn + t) + 1.0f);
  }
  sparks->envMode = float(GL_MODULATE);
  // No camera: the window's own projection and an identity model-view.
  sparks->draw();

  fadeIn(0.0f, 0.0f, 0.0f, 2.0f);
}
