#include "scenes/ArmsScene.h"

#include "gfx/ScreenTint.h"
#include "platform/Gl.h"
#include "scenes/PicturePass.h"
#include "scenes/SceneMath.h"
#include "scenes/TubeSweep.h"

using namespace scenemath;

namespace {

// An arch of radius 14 with small wobbles; t is the mesh time.
Vec3 armPath(float u, float t) {
  return Vec3(0.2f * fsin(3.5f * u + 14.0f * t) + 2.0f * fsin(u / 2.0f),
              0.2f * fsin(2.8f * u - 14.0f * t) + fcos(u / 2.0f),
              0.5f * fsin(u + 10.0f * t) * fsin(1.9f * u - 17.0f * t) * fcos(u / 2.0f))
      .scale(7.0f);
}

// A unit ring two units beside the path, rippled, closing to a point at
// both ends.
Vec3 armSection(float u, float theta, float t) {
  const float ripple = fsin(4.0f * theta - 10.0f * t) * fsin(9.0f * u + 4.0f * t) *
                           fsin(6.0f * u + 3.0f * t) * fsin(3.0f * theta + 5.0f * t) +
                       1.5f;
  return Vec3(0.0f, fsin(theta) + 2.0f, fcos(theta))
      .scale(ripple)
      .scale(0.4f)
      .scale(fcos(u / 2.0f));
}

void armVertex(int row, int col, int rows, int cols, Vec3* out, float time) {
  *out = sweepTube(row, col, rows, cols, time, 4.6f, armPath, armSection);
}

}  // namespace

// The arms are drawn in pass 1: they glow additively.
ArmsScene::ArmsScene(ShowClock& clock)
    : TubeScene(clock,
                {"armsTexture", "armsEnvTexture", Color(0, 0.28f, 0.56f, 0.7f), 100, 20,
                 armVertex, 1},
                {500, "glowTexture", Color(1, 1.5f, 2, 1), 10.0f},
                {"../part01_bg.tga", "overlay", "../part01_overlay.tga"}) {
  const Vec3 origin(0, 0, 0);
  const Vec3 xAxis(1, 0, 0);
  world.add(tube.get(), origin, 0.0f, xAxis);
  world.add(tube.get(), origin, 90.0f, xAxis);
  world.add(tube.get(), origin, 180.0f, xAxis);
  world.add(tube.get(), origin, 270.0f, xAxis);
  world.add(particles.get(), origin, 270.0f, xAxis);
}

void ArmsScene::render() {
  const Frame frame(*this, 0.1f, 0.2f, 0.3f);

  {
    // The background's half-size grows by 0.01 per second: a slow zoom.
    const float z = (lastTime - startTime) * 0.01f;
    PicturePass pass;
    pass.bind(*background);
    pass.quad(-1.0f - z, 1.0f + z, -1.0f - z, 1.0f + z);
  }

  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);

  updateClock(standardBeatFactor());
  tube->setTime(lastTime * 0.5f);

  const Vec3 eye = rotated(10.0f * fsin(0.4f * lastTime), 10.0f * fcos(0.35f * lastTime), 0.0f,
                           Vec3(0.0f, 0.0f, 4.0f * fsin(14.0f * beatPhase) - 25.0f));
  camera.lookAt(eye, Vec3(0, 0, 0), Vec3(0, 1, 0));

  for (int n = 0; n < 500; ++n) {
    const float fn = float(n);
    Particle& p = particles->particles[std::size_t(n)];
    p.alive = true;
    p.color = Color(0.25f, 0.25f, 0.25f, 0.0f);
    p.position =
        rotated(10.0f * fsin(fn + 0.03f * lastTime), 10.0f * fsin(0.04f * lastTime + 10.0f * fn),
                10.0f * fsin(-0.1f * lastTime - 7.0f * fn), Vec3(1, 1, 1))
            .scale(15.0f);
    p.size = (fsin(5.0f * fn) + 1.0f) * 5.0f;
  }
  particles->envMode = float(GL_MODULATE);

  world.draw();

  fadeIn(0.5f, 0.8f, 1.0f, 40.0f);

  {
    PicturePass pass;
    pass.bind(*picture);
    pass.blend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    pass.quad(-1.0f, 0.0f, -0.2f, 1.0f);
  }
}
