#include "scenes/TunnelScene.h"

#include "clock/ShowClock.h"
#include "gfx/ScreenTint.h"
#include "platform/Gl.h"
#include "scenes/PicturePass.h"
#include "scenes/SceneMath.h"
#include "scenes/TubeSweep.h"

using namespace scenemath;

namespace {

// A ring centred on the path, so that the camera on the path is inside.
Vec3 tunnelSection(float u, float theta, float t) {
  const float ripple = 3.9f * (fsin(theta + 5.0f * t) * fsin(2.0f * theta - 10.0f * t) *
                                   fsin(19.0f * u + 4.0f * t) * fsin(16.0f * u + 3.0f * t) +
                               1.1f);
  return Vec3(0.0f, fsin(theta), fcos(theta)).scale(ripple);
}

void tunnelVertex(int row, int col, int rows, int cols, Vec3* out, float time) {
  *out = sweepTube(
      row, col, rows, cols, time, 1.6f, [](float u, float) { return TunnelScene::path(u); },
      tunnelSection);
}

// 0.6 (1 + (sum of four sines) / 8): one corner extent of the portrait.
float wobble(float s, float a, float b, float c, float d) {
  return 0.6f * (1.0f + (fsin(a * s) + fsin(b * s) + fsin(c * s) + fsin(d * s)) / 8.0f);
}

}  // namespace

Vec3 TunnelScene::path(float x) {
  return Vec3(10.0f * fsin(3.0f * x), 10.0f * fcos(3.0f * x), 10.0f * fsin(4.0f * x))
      .scale(0.8f * (fcos(4.0f * x) + 4.0f));
}

TunnelScene::TunnelScene(ShowClock& clock)
    : TubeScene(clock,
                {"tunnelTexture", "tunnelEnvTexture", Color(0, 0.72f, 1.44f, 1.8f), 200, 50,
                 tunnelVertex, 0},
                {0, nullptr, Color(), 0.0f}, {nullptr, "portrait", "../pulkar.tga"}) {
  placeAtOrigin();
}

void TunnelScene::render() {
  const Frame frame(*this, 0.1f, 0.2f, 0.3f);

  updateClock(standardBeatFactor());
  tube->setTime(lastTime * 0.5f);

  if ((clock.beat() & 15) <= 2) {
    camera.lookAt(path(0.5f * lastTime), path(0.5f * lastTime - 0.1f), Vec3(0, 1, 0));
  } else {
    camera.lookAt(path(-beatPhase), path(0.1f - beatPhase), Vec3(0, 1, 0));
  }

  world.draw();

  {
    const float s = lastTime;
    const float grey =
        0.5f + (fsin(17.1f * s) + fsin(-4.1f * s) + fsin(-14.8f * s) + fsin(13.1f * s)) / 8.0f;
    const float alpha =
        0.5f + (fsin(7.1f * s) + fsin(-8.1f * s) + fsin(-10.8f * s) + fsin(9.1f * s)) / 8.0f;
    const float w1 = wobble(s, 11.1f, -7.1f, -10.8f, 19.1f);
    const float w2 = wobble(s, 11.8f, -6.5f, -10.9f, 18.5f);
    const float w3 = wobble(s, 18.1f, -17.1f, -13.8f, 23.1f);
    const float w4 = wobble(s, 15.8f, -16.5f, -13.9f, 17.5f);
    PicturePass pass;
    pass.bind(*picture);
    pass.blend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    pass.colour(grey, grey, grey, alpha);
    pass.quad({{-w1, -w2, 0, 1}, {w3, -w2, 1, 1}, {w1, w4, 1, 0}, {-w3, w4, 0, 0}});
  }

  fadeIn(1.0f, 1.0f, 1.0f, 1.0f);
  drawScreenTint(1.0f, 1.0f, 1.0f, 0.5f - 0.5f * fsin(7.0f * beatPhase) * fsin(6.0f * beatPhase));
}
