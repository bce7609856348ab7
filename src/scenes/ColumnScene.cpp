#include "scenes/ColumnScene.h"

#include "gfx/Image.h"
#include "gfx/ScreenTint.h"
#include "platform/Gl.h"
#include "scenes/PicturePass.h"
#include "scenes/PlasmaDescription.h"
#include "scenes/SceneMath.h"
#include "scenes/TubeSweep.h"

using namespace scenemath;

namespace {

// A vertical line from y = -4 pi to 4 pi that waves in x.
Vec3 columnPath(float u, float t) { return Vec3(fsin(10.0f * t + u), 2.0f * u, 0.0f).scale(2.0f); }

// A thick ring, closing at both ends, whose surface ripples along the tube.
Vec3 columnSection(float u, float theta, float t) {
  const float d = u + t;
  const float ripple =
      1.0f + 0.1f * (fsin(4.0f * d + 5.0f * theta) + fsin(5.0f * d + 6.0f * theta));
  return Vec3(0.0f, fcos(theta), fsin(theta)).scale(2.0f * fcos(u / 2.0f)).scale(ripple);
}

void columnVertex(int row, int col, int rows, int cols, Vec3* out, float time) {
  *out = sweepTube(row, col, rows, cols, time, 4.6f, columnPath, columnSection);
}

}  // namespace

ColumnScene::ColumnScene(ShowClock& clock) : Scene(clock) {
  world.setCamera(&camera);

  // 512 x 512, not the usual 256: these surfaces are seen large.
  Image surfaces(512, 512);
  surfaces.textureMode = TextureMode::FromNormals;
  PlasmaDescription surface;
  surface.negative = Color(1, 1, 1, 1);
  surface.radialFirst = Color(1.3f, 1.4f, 2, 1);
  surface.radialSecond = Color(0.21f, 0.49f, 0.56f, 0);
  surface.radialExponent = 3.0f;
  surface.strengthX = surface.strengthY = 0.2f;
  Texture* const columnTexture = keep("columnTexture", makePlasmaTexture(surfaces, surface));
  surfaces.textureMode = TextureMode::SphereMap;
  PlasmaDescription environment = surface;
  environment.seed = 13;
  environment.waves = 3;
  environment.radialFirst = Color(1.4f, 1.2f, 1.7f, 1);
  environment.radialSecond = Color(0, 0.28f, 0.07f, 0);
  Texture* const columnEnvTexture =
      keep("columnEnvTexture", makePlasmaTexture(surfaces, environment));
  Texture* const flareTexture = keep(
      "flareTexture", surfaces.radialTexture(Color(1.5f, 1.5f, 1, 1), Color(0, 0, 0, 0), 5.0f));

  Image pictures(512, 512);
  background = keep("background", pictures.loadTexture("../part02_bg.tga"));
  overlay = keep("overlay", pictures.loadTexture("../part02_overlay.tga"));

  column = std::make_unique<Mesh>(100, 20, true, columnVertex);
  column->setTexture(columnTexture);
  column->setSecondTexture(columnEnvTexture);
  column->alphaTest = true;

  cloud = std::make_unique<ParticleSystem>(250);
  cloud->setTexture(flareTexture);
  cloud->pass = 1;

  world.add(column.get(), Vec3(0, 0, 0), 0.0f, Vec3(1, 0, 0));
  world.add(cloud.get(), Vec3(0, 0, 0), 270.0f, Vec3(1, 0, 0));

  flare = std::make_unique<ParticleSystem>(1);
  flare->setTexture(flareTexture);
  flare->pass = 1;
}

void ColumnScene::render() {
  {
    // Sized by the previous frame's time, before the clock starts.
    const float s = lastTime;
    Particle& p = flare->particles[0];
    p.alive = true;
    p.color = Color(1, 1, 1, 0);
    p.position = Vec3(1.5f, 1.3f, -2.0f);
    p.size = 3.0f * (fsin(4.0f * s) + fsin(2.3f * s)) + 6.0f;
    flare->envMode = float(GL_MODULATE);
  }

  const Frame frame(*this, 0.1f, 0.2f, 0.3f);

  {
    PicturePass pass;
    pass.bind(*background);
    pass.colour(0.6f, 0.6f, 0.6f);
    pass.quad(-1.0f, 1.0f, -1.0f, 1.0f);
  }

  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);

  updateClock(standardBeatFactor());
  // The mesh re-evaluates on its next draw only if this time is new.
  column->setTime(0.5f * lastTime);

  const float t = lastTime;
  column->setRotation(beatPhase * 40.0f, fsin(t) + 1.0f, fsin(5.0f * t) + 1.0f,
                      fsin(3.0f * t) + 1.0f);

  // The camera circles at distance 15 and rolls with its orbit.
  const Matrix3 orbit = Matrix3::fromAngles(10.0f * fsin(0.4f * t), 10.0f * fcos(0.35f * t), 0.0f);
  camera.lookAt(Vec3(0, 0, -15).transform(orbit), Vec3(0, 0, 0), Vec3(0, 1, 0).transform(orbit));

  const float spread = 7.0f * ftanh(0.2f * (t - startTime));
  for (int n = 0; n < 250; ++n) {
    const float fn = float(n);
    Particle& p = cloud->particles[std::size_t(n)];
    p.alive = true;
    p.color = Color(1.5f, 1.5f, 1.5f, 0);
    p.position = rotated(5.0f * fsin(2.0f - t) * fsin(0.03f * t + 0.01f * fn),
                         5.0f * fsin(1.4f * t + 1.0f) * fsin(0.04f * (fn + t)),
                         5.0f * fsin(-0.1f * t - 0.07f * fn) * fsin(1.2f * t),
                         Vec3(0.0f, fsin(0.1f * fn + t), 0.0f))
                     .scale(spread);
    p.size = 3.0f;
  }
  cloud->envMode = float(GL_MODULATE);

  world.draw();
  // After World::draw has restored the camera: the window's base matrices,
  // so the flare hangs in front of the eye whatever the camera does.
  flare->draw();

  {
    PicturePass pass;
    pass.bind(*overlay);
    pass.blend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    pass.colour(0.7f, 0.7f, 0.7f);
    // Mirrored left to right.
    pass.quad({{1, -1, 0, 1}, {-1, -1, 1, 1}, {-1, 1, 1, 0}, {1, 1, 0, 0}});
  }

  fadeIn(1.0f, 1.0f, 1.0f, 1.0f);
}
