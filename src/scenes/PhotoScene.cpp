#include "scenes/PhotoScene.h"

#include "gfx/Image.h"
#include "gfx/ScreenTint.h"
#include "platform/Gl.h"
#include "platform/Random.h"
#include "scenes/PicturePass.h"
#include "scenes/SceneMath.h"

using namespace scenemath;

namespace {
const char* const kPhotoNames[4] = {"photos0", "photos1", "photos2", "photos3"};
}

PhotoScene::PhotoScene(ShowClock& clock, const std::array<const char*, 4>& photoPaths,
                       const char* logoPath)
    : Scene(clock) {
  Image pictures(512, 512);
  Image surfaces(256, 256);
  for (std::size_t i = 0; i < photos.size(); ++i) {
    photos[i] = keep(kPhotoNames[i], pictures.loadTexture(photoPaths[i]));
  }
  logo = keep("logo", pictures.loadTexture(logoPath));
  Texture* const glowTexture = keep(
      "glowTexture",
      surfaces.radialTexture(Color(0.55f, 0.5f, 0.5f, 0.5f), Color(-0.3f, -0.2f, -0.1f, 0), 7.0f));
  cloud = std::make_unique<ParticleSystem>(100);
  cloud->setTexture(glowTexture);
}

void PhotoScene::render() {
  const Frame frame(*this, 0.03f, 0.06f, 0.18f);

  {
    const float s = lastTime;
    const int r1 = platform::rand();
    const int r2 = platform::rand();
    const float grey =
        0.2f + (fsin(1.2f * s) + fsin(3.4f * s) + fsin(0.34f * s) + fsin(2.0f * s)) / 8.0f;
    const float halfWidth =
        1.0f + float(r2 % 1000) * 0.0001f +
        (fsin(8.2f * s) + fsin(5.4f * s) + fsin(8.34f * s) + fsin(17.0f * s)) / 8.0f;
    const float halfHeight =
        0.5f + float(r1 % 1000) * 0.0001f +
        (fsin(6.2f * s) + fsin(12.4f * s) + fsin(9.34f * s) + fsin(7.0f * s)) / 8.0f;
    PicturePass pass;
    pass.bind(*logo);
    pass.blend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    pass.colour(grey, grey, grey);
    pass.quad(-halfWidth, halfWidth, -halfHeight, halfHeight);
  }

  updateClock(standardBeatFactor());

  const float t = lastTime;
  for (int n = 0; n < 100; ++n) {
    const float fn = float(n);
    Particle& p = cloud->particles[std::size_t(n)];
    p.alive = true;
    p.color = Color(1, 1, 1, 0);
    p.position =
        Vec3(fsin(0.1f * t + 2.1f * fn), fsin(0.12f * t + 0.15f * fn), fsin(0.23f * t + 0.07f * fn))
            .scale(3.0f)
            .add(Vec3(fsin(0.13f * t + 4.1f * fn), fsin(0.32f * t + 10.15f * fn),
                      fsin(0.33f * t + 3.67f * fn))
                     .scale(1.5f));
    // Negative sizes mirror the square; they are drawn as they come.
    p.size = 5.0f * fsin(5.0f * fn + t);
  }
  cloud->envMode = float(GL_MODULATE);

  camera.fov = 160.0f;
  camera.lookAt(Vec3(0.0f, 0.0f, 0.2f * fsin(54.0f * beatPhase) - 3.0f), Vec3(0, 0, 0),
                Vec3(0, 1, 0));
  camera.apply();
  cloud->setRotation(beatPhase * 40.0f, fsin(t) + 1.0f, fsin(5.0f * t) + 1.0f,
                     fsin(3.0f * t) + 1.0f);
  cloud->draw();
  camera.restore();

  {
    PicturePass pass;
    pass.blend(GL_ONE, GL_ONE);
    for (int i = 0; i < 4; ++i) {
      const float fi = float(i);
      pass.bind(*photos[std::size_t(i)]);
      const float c = fsin(0.7f * t + fi);
      // Even and odd photos pulse against each other; below 0 they add nothing.
      const float e = (i % 2 == 0) ? 0.25f * fsin(3.0f * fi * c + 2.0f * t) + 0.125f
                                   : 0.25f * fsin(3.0f * fi * c - 2.0f * t) + 0.125f;
      pass.colour(e, e, e);
      pass.quad(-0.7f, 0.7f, -1.0f, 1.0f);
    }
  }

  fadeIn(1.0f, 1.0f, 1.0f, 8.0f);
}
