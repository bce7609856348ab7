#include "SceneFixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "gfx/HiddenGlContext.h"
#include "gfx/TgaWriter.h"
#include "platform/Gl.h"
#include "platform/Random.h"
#include "scenes/Scene.h"

namespace fs = std::filesystem;

namespace {

HiddenGlContext* context = nullptr;

uint32_t rgba(int r, int g, int b, int a) {
  return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | uint32_t(a) << 24;
}

// The show reads "../name.tga" from its working directory: the pictures go in
// a folder, the working directory is a folder inside it.
void writePictures() {
  // One folder per process: ctest runs several test processes at once.
  const fs::path root =
      fs::temp_directory_path() / ("kyl-scene-tests-" + std::to_string(::getpid()));
  fs::create_directories(root / "show");
  const uint32_t grey = rgba(128, 128, 128, 255);
  const uint32_t white = rgba(255, 255, 255, 255);
  const uint32_t clear = rgba(0, 0, 0, 0);
  const std::pair<const char*, uint32_t> pictures[] = {
      {"part01_bg", grey},   {"part01_overlay", clear}, {"pulkar", clear},
      {"bg02", grey},        {"dransel", clear},        {"morrik01", grey},
      {"morrik02", grey},    {"morrik03", grey},        {"morrik04", grey},
      {"logo_morrik", clear}, {"telva01", grey},        {"telva02", grey},
      {"telva03", grey},     {"telva04", grey},         {"logo_telva", clear},
      {"scroller", white},   {"scroll_over", white},    {"part02_bg", grey},
      {"part02_overlay", clear}, {"bg01", grey},        {"logga2", clear}};
  std::vector<uint32_t> pixels(512 * 512);
  for (const auto& [name, colour] : pictures) {
    std::fill(pixels.begin(), pixels.end(), colour);
    const fs::path path = root / (std::string(name) + ".tga");
    std::string error;
    if (!writeTga(path.string().c_str(), 512, 512, pixels.data(), &error))
      FAIL() << "cannot write " << path << ": " << error;
  }
  fs::current_path(root / "show");
}

}  // namespace

void SceneTest::SetUpTestSuite() {
  if (context) return;
  writePictures();
  context = new HiddenGlContext(kWidth, kHeight);
}

void SceneTest::SetUp() {
  glDisable(GL_SCISSOR_TEST);
  // What the show's window gives every scene.
  glViewport(0, 0, kWidth, kHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(90.0, 4.0 / 3.0, 0.1, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void SceneTest::TearDown() { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }

void SceneTest::at(double seconds, int beat) { music.setVirtualTime(seconds, uint32_t(beat) * 4); }

std::vector<uint8_t> SceneTest::frame(Scene& scene, double seconds, int beat) {
  at(seconds, beat);
  platform::srand(7);
  scene.render();
  return readPixels();
}

std::vector<uint8_t> SceneTest::readPixels() {
  std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

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
