// The generated pictures as files: the layout the show's loader reads, what
// their alpha means for the way each scene blends them, and determinism.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>

#include "GeneratedPictures.h"
#include "PictureCatalog.h"

namespace content_test {
namespace {

const std::set<std::string> kShowPictures = {
    "part01_bg.tga",   "part01_overlay.tga", "pulkar.tga",     "bg02.tga",
    "dransel.tga",     "morrik01.tga",       "morrik02.tga",   "morrik03.tga",
    "morrik04.tga",    "logo_morrik.tga",    "telva01.tga",    "telva02.tga",
    "telva03.tga",     "telva04.tga",        "logo_telva.tga", "scroller.tga",
    "scroll_over.tga", "part02_bg.tga",      "part02_overlay.tga", "bg01.tga",
    "logga2.tga"};

const TgaBytes& file(const std::string& name) { return generatedPictures().at(name); }

// Separate runs of alpha >= 128 along the row with the most of them.
int mostAlphaRuns(const TgaView& v) {
  int best = 0;
  for (int y = 0; y < v.height(); y += 2) {
    int runs = 0;
    bool inside = false;
    for (int x = 0; x < v.width(); ++x) {
      bool on = v.alpha(x, y) >= 128;
      if (on && !inside) ++runs;
      inside = on;
    }
    best = std::max(best, runs);
  }
  return best;
}

TEST(PictureFiles, TheCatalogMakesExactlyTheShowsPictures) {
  std::set<std::string> names;
  for (const auto& entry : generatedPictures()) names.insert(entry.first);
  EXPECT_EQ(names, kShowPictures);
}

TEST(PictureFiles, EveryFileIsAnUncompressed32BitTgaStoredBottomUp) {
  for (const auto& [name, bytes] : generatedPictures()) {
    SCOPED_TRACE(name);
    ASSERT_GE(bytes.size(), 18u);
    TgaView v(bytes);
    EXPECT_EQ(bytes[0], 0) << "no image identifier";
    EXPECT_EQ(bytes[1], 0) << "no colour map";
    EXPECT_EQ(bytes[2], 2) << "uncompressed true colour";
    for (int i = 3; i < 8; ++i) EXPECT_EQ(bytes[size_t(i)], 0) << "colour map field " << i;
    EXPECT_EQ(bytes[16], 32);
    EXPECT_EQ(bytes[17], 0x08) << "8 alpha bits, bottom-left origin";
    const int expectedWidth = name == "scroller.tga" ? 1024 : 512;
    EXPECT_EQ(v.width(), expectedWidth);
    EXPECT_EQ(v.height(), 512);
    EXPECT_EQ(bytes.size(), 18u + 4u * size_t(v.width()) * size_t(v.height()));
  }
}

TEST(PictureFiles, AlphaIsOpaqueWhereTheSceneIgnoresIt) {
  for (const picgen::PictureRecipe& recipe : picgen::pictureCatalog()) {
    if (recipe.blend == picgen::Blend::Alpha) continue;
    SCOPED_TRACE(recipe.file);
    const TgaBytes& bytes = file(recipe.file);
    size_t notOpaque = 0;
    for (size_t i = 18 + 3; i < bytes.size(); i += 4) notOpaque += bytes[i] != 255;
    EXPECT_EQ(notOpaque, 0u);
  }
}

TEST(PictureFiles, BlendedPicturesCarryTheirShapeInAlpha) {
  for (const picgen::PictureRecipe& recipe : picgen::pictureCatalog()) {
    if (recipe.blend != picgen::Blend::Alpha) continue;
    SCOPED_TRACE(recipe.file);
    TgaView v(file(recipe.file));
    size_t shown = 0, solid = 0, clear = 0, total = size_t(v.width()) * size_t(v.height());
    for (int y = 0; y < v.height(); ++y)
      for (int x = 0; x < v.width(); ++x) {
        shown += v.alpha(x, y) >= 128;
        solid += v.alpha(x, y) >= 250;
        clear += v.alpha(x, y) <= 5;
      }
    EXPECT_GT(shown, total / 50) << "a visible shape";
    EXPECT_LT(solid, total * 3 / 4) << "not a filled rectangle";
    EXPECT_GT(clear, total / 10) << "the scene shows through";
  }
}

TEST(PictureFiles, LogosSpellTheirLettersInAlpha) {
  // logga2 is drawn through GL_ADD with white on its flash beats: only its
  // alpha then draws the name, so the letters must be separate shapes.
  EXPECT_GE(mostAlphaRuns(TgaView(file("logga2.tga"))), 9);  // KYLVANDER
  EXPECT_GE(mostAlphaRuns(TgaView(file("logo_morrik.tga"))), 6);  // MORRIK
  EXPECT_GE(mostAlphaRuns(TgaView(file("logo_telva.tga"))), 5);   // TELVA
  TgaView logo(file("logga2.tga"));
  EXPECT_LT(logo.alpha(0, 0), 16);
  EXPECT_LT(logo.alpha(511, 511), 16);
}

TEST(PictureFiles, TransparentEdgesKeepTheShapesColour) {
  // Linear filtering mixes a shape's edge with its transparent neighbours:
  // those must carry the shape's colour, not black, or every edge of every
  // overlay gets a dark fringe.
  for (const picgen::PictureRecipe& recipe : picgen::pictureCatalog()) {
    if (recipe.blend != picgen::Blend::Alpha) continue;
    SCOPED_TRACE(recipe.file);
    TgaView v(file(recipe.file));
    int checked = 0, fringe = 0;
    for (int y = 1; y < v.height() - 1; ++y)
      for (int x = 1; x < v.width() - 1; ++x) {
        if (v.alpha(x, y) > 3) continue;
        for (auto [nx, ny] : {std::pair{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}}) {
          if (v.alpha(nx, ny) < 4) continue;
          ++checked;
          fringe += v.luma(x, y) < v.luma(nx, ny) - 0.3f;
        }
      }
    EXPECT_GT(checked, 0);
    EXPECT_EQ(fringe, 0);
  }
}

TEST(PictureFiles, ThePhotosOfOnePersonLineUp) {
  // The photo scenes add all four over each other: they must show the same
  // person in the same place, on black that adds nothing.
  for (const char* person : {"morrik", "telva"}) {
    std::vector<std::vector<bool>> lit;
    for (int i = 1; i <= 4; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "%s%02d.tga", person, i);
      SCOPED_TRACE(name);
      TgaView v(file(name));
      EXPECT_LT(v.luma(2, 2), 0.02f);
      EXPECT_LT(v.luma(509, 2), 0.02f);
      std::vector<bool> mask(size_t(512 * 512));
      for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) mask[size_t(y * 512 + x)] = v.luma(x, y) > 0.08f;
      lit.push_back(mask);
    }
    for (size_t a = 0; a < lit.size(); ++a)
      for (size_t b = a + 1; b < lit.size(); ++b) {
        size_t both = 0, inA = 0, inB = 0;
        for (size_t i = 0; i < lit[a].size(); ++i) {
          both += lit[a][i] && lit[b][i];
          inA += lit[a][i];
          inB += lit[b][i];
        }
        SCOPED_TRACE(std::string(person) + " photos " + std::to_string(a + 1) + " and " +
                     std::to_string(b + 1));
        ASSERT_GT(std::min(inA, inB), 512u * 512u / 20u);
        EXPECT_GT(double(both) / double(std::min(inA, inB)), 0.5);
      }
  }
}

TEST(PictureFiles, TheCornerPortraitStandsOnTheBottomEdge) {
  // dransel fills the lower left of the screen: its shoulders reach the
  // picture's bottom edge, its top is open.
  TgaView v(file("dransel.tga"));
  EXPECT_EQ(v.alpha(256, 511), 255);
  EXPECT_EQ(v.alpha(256, 0), 0);
}

TEST(PictureFiles, TwoRunsWriteIdenticalBytes) {
  // The build's own run of kyl_picgen (or a first run here) against a
  // fresh one: no clock, no unseeded randomness, no uninitialised memory.
  std::map<std::string, TgaBytes> again = generateAllPictures();
  for (const auto& [name, bytes] : generatedPictures()) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(again.at(name) == bytes);
  }
}

}  // namespace
}  // namespace content_test
