// The generator's own tools where a fault would spoil every picture: the
// file writer, text measurement, tiling noise, and their failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "Noise.h"
#include "Picture.h"
#include "Plane.h"
#include "Sdf.h"
#include "TgaWriter.h"
#include "Typesetter.h"

namespace {

using picgen::Picture;
using picgen::Rgba;

TEST(TgaWriter, StoresTheBottomRowFirstInBlueGreenRedAlpha) {
  Picture p(2, 2);
  p.at(0, 0) = Rgba(1.0f, 0.0f, 0.0f, 1.0f);  // top left: red
  p.at(1, 0) = Rgba(0.0f, 1.0f, 0.0f, 1.0f);  // top right: green
  p.at(0, 1) = Rgba(0.0f, 0.0f, 1.0f, 1.0f);  // bottom left: blue
  p.at(1, 1) = Rgba(0.25f, 0.125f, 0.0f, 0.5f);  // premultiplied half orange
  std::vector<uint8_t> b = picgen::TgaWriter::encode(p);
  ASSERT_EQ(b.size(), 18u + 16u);
  const uint8_t* px = b.data() + 18;
  // Bottom row: blue, then straight orange (0.5, 0.25, 0) at alpha 128.
  EXPECT_EQ(std::vector<int>(px, px + 8), (std::vector<int>{255, 0, 0, 255, 0, 64, 128, 128}));
  // Top row: red, green.
  EXPECT_EQ(std::vector<int>(px + 8, px + 16), (std::vector<int>{0, 0, 255, 255, 0, 255, 0, 255}));
}

TEST(TgaWriter, TransparentPixelsTakeTheColourAroundThem) {
  Picture p(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 8; ++x) p.at(x, y) = Rgba(0.0f, 0.5f, 1.0f, 1.0f);
  std::vector<uint8_t> b = picgen::TgaWriter::encode(p);
  const uint8_t* right = b.data() + 18 + (8 * 16 + 12) * 4;  // a transparent pixel
  EXPECT_EQ(right[3], 0);
  EXPECT_EQ(right[0], 255);  // blue
  EXPECT_EQ(right[1], 128);  // green
  EXPECT_EQ(right[2], 0);    // red
}

TEST(TgaWriter, ReportsAFolderThatCannotBeWritten) {
  std::vector<uint8_t> bytes(18, 0);
  EXPECT_FALSE(picgen::TgaWriter::write("/nonexistent-kylvander-folder/x.tga", bytes));
}

TEST(Typesetter, ReportsAMissingFontByPathAndPackage) {
  picgen::Typesetter type("/nonexistent-kylvander-fonts");
  try {
    type.measure("Kylvander", picgen::TextStyle{"DejaVuSans.ttf", 20.0f});
    FAIL() << "no error for a missing font";
  } catch (const std::runtime_error& e) {
    std::string what = e.what();
    EXPECT_NE(what.find("/nonexistent-kylvander-fonts/DejaVuSans.ttf"), std::string::npos) << what;
    EXPECT_NE(what.find("fonts-dejavu-core"), std::string::npos) << what;
  }
}

TEST(Typesetter, SqueezedTextIsNarrowerByTheSqueeze) {
  // Logos are drawn pre-squeezed for quads that stretch them across.
  picgen::Typesetter type(KYL_PICGEN_FONT_DIR);
  picgen::TextStyle style{"DejaVuSans-Bold.ttf", 80.0f};
  auto full = type.measure("KYLVANDER", style);
  style.squeeze = 0.3f;
  auto squeezed = type.measure("KYLVANDER", style);
  EXPECT_NEAR(squeezed.width() / full.width(), 0.3f, 0.02f);
  EXPECT_NEAR(squeezed.height(), full.height(), 1.0f);
  EXPECT_NEAR(type.sizeForWidth("KYLVANDER", style, 400.0f) / 80.0f,
              400.0f / squeezed.width(), 0.02f);
}

TEST(Noise, RepeatsAfterItsPeriod) {
  picgen::Noise noise(7);
  for (float x : {0.1f, 1.7f, 3.3f})
    for (float y : {0.2f, 2.5f}) {
      EXPECT_NEAR(noise.fbm(x, y, 4, 4, 3), noise.fbm(x + 4.0f, y + 3.0f, 4, 4, 3), 1e-5f);
      EXPECT_NEAR(noise.gradient(x, y, 4, 3), noise.gradient(x - 4.0f, y - 6.0f, 4, 3), 1e-5f);
    }
}

TEST(Plane, WrappedBlurKeepsTheLightAndCrossesTheEdge) {
  // Tiling pictures (scroller, shimmer) are blurred with wrap-around: light
  // leaving one edge must come back at the other, none lost.
  picgen::Plane p(64, 32);
  p.at(0, 16) = 1.0f;
  picgen::Plane b = p.blurred(4.0f, picgen::Plane::Edge::Wrap);
  float sum = 0.0f;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) sum += b.at(x, y);
  EXPECT_NEAR(sum, 1.0f, 1e-4f);
  EXPECT_GT(b.at(63, 16), 0.0f);
  EXPECT_NEAR(b.at(63, 16), b.at(1, 16), 1e-6f);
}

TEST(Sdf, EdgeCoverageGivesTheShapesArea) {
  // One-pixel edge coverage instead of supersampling: the area must still
  // come out right, or every shape would be too fat or too thin.
  const float radius = 20.0f;
  float area = 0.0f;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      picgen::Vec2 p(float(x) + 0.5f, float(y) + 0.5f);
      area += picgen::coverage(picgen::sdEllipse(p, picgen::Vec2(32.3f, 31.7f), radius, radius * 0.6f), 1.0f);
    }
  EXPECT_NEAR(area / (3.14159265f * radius * radius * 0.6f), 1.0f, 0.005f);
}

TEST(Typesetter, AlignsInkNotAdvance) {
  picgen::Typesetter type(KYL_PICGEN_FONT_DIR);
  picgen::TextStyle style{"DejaVuSans-Bold.ttf", 40.0f};
  auto inkColumns = [](const picgen::Plane& p, int* left, int* right, int* bottom) {
    *left = p.width(), *right = -1, *bottom = -1;
    for (int y = 0; y < p.height(); ++y)
      for (int x = 0; x < p.width(); ++x)
        if (p.at(x, y) > 0.5f) {
          *left = std::min(*left, x), *right = std::max(*right, x), *bottom = std::max(*bottom, y);
        }
  };
  int left, right, bottom;
  picgen::Plane centred(200, 80);
  type.draw(centred, "KYL", style, 100.0f, 60.0f, picgen::Align::Centre);
  inkColumns(centred, &left, &right, &bottom);
  EXPECT_NEAR((float(left) + float(right) + 1.0f) * 0.5f, 100.0f, 1.0f);
  EXPECT_NEAR(float(bottom) + 1.0f, 60.0f, 1.0f);  // sits on the baseline
  picgen::Plane righted(200, 80);
  type.draw(righted, "KYL", style, 190.0f, 60.0f, picgen::Align::Right);
  inkColumns(righted, &left, &right, &bottom);
  EXPECT_NEAR(float(right) + 1.0f, 190.0f, 1.0f);
}

}  // namespace
