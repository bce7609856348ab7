#include "SceneFixture.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "gfx/HiddenGlContext.h"
#include "platform/Gl.h"
#include "platform/Random.h"
#include "scenes/Scene.h"
#include "ShowWindowState.h"
#include "TestPictures.h"

namespace {

HiddenGlContext* context = nullptr;

// Plain colours, so that tests can predict whole frames: backgrounds and
// photos grey, overlays, portraits and logos clear; the scroller black under
// a white additive layer, so that the layer's colour shows on its own.
uint32_t plainPicture(const std::string& name, int, int) {
  if (name == "scroller") return rgba(0, 0, 0, 255);
  if (name == "scroll_over") return rgba(255, 255, 255, 255);
  const bool clear = name.find("overlay") != std::string::npos ||
                     name.find("logo") != std::string::npos || name == "logga2" ||
                     name == "pulkar" || name == "dransel";
  return clear ? rgba(0, 0, 0, 0) : rgba(128, 128, 128, 255);
}

}  // namespace

void SceneTest::SetUpTestSuite() {
  if (context) return;
  std::string error;
  if (!enterTestShowFolder("kyl-scene-tests", plainPicture, &error))
    FAIL() << "cannot write the pictures: " << error;
  context = new HiddenGlContext(kWidth, kHeight);
}

void SceneTest::SetUp() { enterShowWindowState(kWidth, kHeight); }

void SceneTest::TearDown() { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }

void SceneTest::at(double seconds, int beat) { clock.set(seconds, uint32_t(beat) * 4); }

std::vector<uint8_t> SceneTest::frame(Scene& scene, double seconds, int beat) {
  at(seconds, beat);
  platform::srand(7);
  scene.render();
  return readPixels();
}

std::vector<uint8_t> SceneTest::readPixels() { return readBackFrame(kWidth, kHeight); }

::testing::AssertionResult nearlyEqual(const std::vector<uint8_t>& actual,
                                       const std::vector<uint8_t>& expected, int tolerance) {
  if (actual.size() != expected.size()) return ::testing::AssertionFailure() << "sizes differ";
  for (size_t i = 0; i < actual.size(); ++i) {
    if (std::abs(int(actual[i]) - int(expected[i])) > tolerance)
      return ::testing::AssertionFailure()
             << "byte " << i << " (pixel " << i / 3 << ") is " << int(actual[i]) << ", expected "
             << int(expected[i]) << " +- " << tolerance;
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult allPixels(const std::vector<uint8_t>& pixels, int red, int green,
                                     int blue, int tolerance) {
  std::vector<uint8_t> expected(pixels.size());
  for (size_t i = 0; i + 2 < expected.size(); i += 3) {
    expected[i] = uint8_t(red);
    expected[i + 1] = uint8_t(green);
    expected[i + 2] = uint8_t(blue);
  }
  return nearlyEqual(pixels, expected, tolerance);
}

std::vector<uint8_t> blendOver(const std::vector<uint8_t>& under, int red, int green, int blue,
                               float alpha) {
  const int colour[3] = {red, green, blue};
  std::vector<uint8_t> out(under.size());
  for (size_t i = 0; i < under.size(); ++i)
    out[i] = uint8_t(float(colour[i % 3]) * alpha + float(under[i]) * (1.0f - alpha) + 0.5f);
  return out;
}

int brightest(const std::vector<uint8_t>& pixels) {
  return pixels.empty() ? 0 : *std::max_element(pixels.begin(), pixels.end());
}
