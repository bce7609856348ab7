// Scenes drawn on a real OpenGL context (llvmpipe under SDL's offscreen
// video) with a virtual clock, over pictures of known plain colours
// written for the tests: backgrounds and photos grey, overlays, portraits and
// logos fully transparent, the scroller black under its white additive layer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "clock/VirtualClock.h"

class Scene;

class SceneTest : public ::testing::Test {
 public:
  static constexpr int kWidth = 160;
  static constexpr int kHeight = 120;

  static void SetUpTestSuite();

 protected:
  void SetUp() override;
  void TearDown() override;

  // Sets the clock to `seconds` and `beat` (heard ticks = 4 x beat).
  void at(double seconds, int beat);
  // One frame of the scene at that moment, read back (RGB, bottom row first).
  std::vector<uint8_t> frame(Scene& scene, double seconds, int beat);
  static std::vector<uint8_t> readPixels();

  VirtualClock clock;
};

// Every byte of `actual` within `tolerance` of `expected`.
::testing::AssertionResult nearlyEqual(const std::vector<uint8_t>& actual,
                                       const std::vector<uint8_t>& expected, int tolerance);
// Every pixel within `tolerance` of one colour.
::testing::AssertionResult allPixels(const std::vector<uint8_t>& pixels, int red, int green,
                                     int blue, int tolerance);
// A frame with `colour` blended over it at `alpha`, as the fades do.
std::vector<uint8_t> blendOver(const std::vector<uint8_t>& under, int red, int green, int blue,
                               float alpha);
int brightest(const std::vector<uint8_t>& pixels);
