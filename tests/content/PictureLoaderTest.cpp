// The generated pictures through the show's own picture loader (the TGA
// operator that scenes evaluate into textures).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "GeneratedPictures.h"
#include "gfx/TgaSourceOp.h"

namespace content_test {
namespace {

ColorBuffer decode(const TgaBytes& bytes, const std::string& name, int size) {
  TgaSourceOp op(bytes.data(), bytes.size(), name.c_str());
  EXPECT_EQ(op.problem(), nullptr) << name;
  return op.generate(nullptr, nullptr, size, size);
}

TEST(PictureLoader, EveryPictureDecodesToItsOwnBytes) {
  for (const auto& [name, bytes] : generatedPictures()) {
    if (name == "scroller.tga") continue;  // resampled, below
    SCOPED_TRACE(name);
    ColorBuffer pixels = decode(bytes, name, 512);
    int wrong = 0;
    for (size_t i = 0; i < size_t(512 * 512); ++i) {
      const uint8_t* b = bytes.data() + 18 + i * 4;
      wrong += std::lround(pixels[i].blue * 255.0f) != b[0] ||
               std::lround(pixels[i].green * 255.0f) != b[1] ||
               std::lround(pixels[i].red * 255.0f) != b[2] ||
               std::lround(pixels[i].alpha * 255.0f) != b[3];
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(PictureLoader, TextureRowZeroIsTheBottomOfThePicture) {
  // Scenes map texture t = 1 to the top of the screen: the corner portrait's
  // shoulders must be in row 0 and its open top in the last row.
  ColorBuffer p = decode(generatedPictures().at("dransel.tga"), "dransel.tga", 512);
  EXPECT_FLOAT_EQ(p[256].alpha, 1.0f);
  EXPECT_FLOAT_EQ(p[511 * 512 + 256].alpha, 0.0f);
}

TEST(PictureLoader, TheScrollerKeepsItsTextAndSeamWhenResampled) {
  ColorBuffer p = decode(generatedPictures().at("scroller.tga"), "scroller.tga", 512);
  auto luma = [&](int row, int col) {
    const Color& c = p[size_t(row) * 512 + size_t(col)];
    return 0.2126f * c.red + 0.7152f * c.green + 0.0722f * c.blue;
  };
  // The title band (rows 230 to 330 from the top) still has crisp letters.
  float best = 0.0f;
  for (int top = 230; top < 330; top += 10) {
    int row = 511 - top;
    float lo = 1.0f, hi = 0.0f;
    for (int c = 0; c < 512; ++c) lo = std::min(lo, luma(row, c)), hi = std::max(hi, luma(row, c));
    best = std::max(best, hi - lo);
  }
  EXPECT_GT(best, 0.6f);
  // It wraps seamlessly: the last column continues into the first.
  float seam = 0.0f, across = 0.0f;
  for (int row = 0; row < 512; ++row) {
    seam += std::fabs(luma(row, 511) - luma(row, 0));
    across += std::fabs(luma(row, 256) - luma(row, 0));
  }
  EXPECT_LT(seam, across * 0.5f);
}

}  // namespace
}  // namespace content_test
