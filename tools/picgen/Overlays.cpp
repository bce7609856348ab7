// The two overlays: the title plate that opens the show in the lower left,
// and the frame that closes it (drawn mirrored, so it is made mirrored).
#include <algorithm>
#include <cmath>
#include <string>

#include "Designs.h"
#include "Lettering.h"
#include "Palette.h"
#include "Sdf.h"

namespace picgen {
namespace {

// part01_overlay covers x from -1 to 0 and y from -0.2 to 1: 320 x 288 pixels.
constexpr Footprint kPlate{320.0f / 512.0f, 288.0f / 512.0f};
constexpr Footprint kFullScreen{640.0f / 512.0f, 480.0f / 512.0f};
constexpr int kSize = 512;
const char* const kBold = "DejaVuSans-Bold.ttf";
const char* const kBook = "DejaVuSans.ttf";

// Screen-pixel distance helpers for round shapes on a stretched quad.
Vec2 onScreen(float x, float y, const Footprint& f) { return Vec2(x * f.pixelsX, y * f.pixelsY); }

}  // namespace

Picture openingOverlay(Studio& studio) {
  Typesetter& type = studio.type();
  Lettering lettering(kPlate);
  Picture out(kSize, kSize);

  // A shade that rises from the lower left corner so the lettering reads
  // over the glowing arms.
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      float u = (float(x) + 0.5f) / kSize, v = (float(y) + 0.5f) / kSize;
      float r = fsqrt((u * 0.8f) * (u * 0.8f) + (1.0f - v) * (1.0f - v) * 1.6f);
      float a = 0.62f * smoothstep(0.95f, 0.25f, r);
      out.at(x, y) = palette::kNight.premultiplied(a);
    }

  // The emblem: rings and arcs like a sound wave seen end-on.
  const Vec2 centre = onScreen(92.0f, 300.0f, kPlate);
  Plane emblem(kSize, kSize), core(kSize, kSize);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      Vec2 p = onScreen(float(x) + 0.5f, float(y) + 0.5f, kPlate) - centre;
      float r = p.length();
      float a = fatan2(p.y, p.x);
      float m = coverage(std::fabs(r - 33.0f) - 1.2f, 1.0f);
      for (int k = 0; k < 3; ++k) {
        float radius = 9.0f + 7.0f * float(k);
        float gap = fsin(a * float(2 + k) + float(k) * 1.7f);
        m = std::max(m, coverage(std::fabs(r - radius) - 1.6f, 1.0f) * smoothstep(-0.2f, 0.2f, gap));
      }
      emblem.at(x, y) = m;
      core.at(x, y) = coverage(r - 4.0f, 1.0f);
    }
  // A rule from the emblem to the right edge.
  Plane rule(kSize, kSize);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      Vec2 p = onScreen(float(x) + 0.5f, float(y) + 0.5f, kPlate);
      float fade = smoothstep(300.0f, 120.0f, p.x) * smoothstep(centre.x + 38.0f, centre.x + 48.0f, p.x);
      rule.at(x, y) = coverage(std::fabs(p.y - centre.y) - 0.6f, 1.0f) * fade;
    }

  Plane title(kSize, kSize), subtitle(kSize, kSize);
  TextStyle titleStyle{kBold, 60.0f, kPlate.squeeze(), 0.04f};
  titleStyle.size = type.sizeForWidth("KYLVANDER", titleStyle, 440.0f);
  type.draw(title, "KYLVANDER", titleStyle, 40.0f, 420.0f, Align::Left);
  TextStyle subStyle{kBook, 30.0f, kPlate.squeeze(), 0.02f};
  subStyle.size = type.sizeForWidth("a real-time show in eight scenes", subStyle, 436.0f);
  type.draw(subtitle, "a real-time show in eight scenes", subStyle, 42.0f, 470.0f, Align::Left);

  out.paint(lettering.soften(emblem, 5.0f), palette::kIce, 0.6f);
  out.paint(lettering.soften(core, 6.0f), palette::kGold, 0.9f);
  out.paint(emblem, palette::kFrost);
  out.paint(core, Rgba(1.0f, 0.95f, 0.8f));
  out.paint(rule, palette::kGold, 0.9f);
  out.paint(lettering.soften(title, 6.0f), palette::kTeal, 0.55f);
  Plane bevel = lettering.bevel(title, 1.5f);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      float m = title.at(x, y);
      if (m <= 0.0f) continue;
      Rgba c = mix(palette::kFrost, palette::kIce, clamp01((float(y) - 380.0f) / 45.0f));
      c = c.rgbScaled(0.9f + 0.25f * bevel.at(x, y));
      out.at(x, y) = over(Rgba(clamp01(c.r), clamp01(c.g), clamp01(c.b)).premultiplied(m), out.at(x, y));
    }
  out.paint(subtitle, palette::kGold);
  return out;
}

Picture closingOverlay(Studio& studio) {
  Typesetter& type = studio.type();
  Lettering lettering(kFullScreen);
  Picture out(kSize, kSize);
  const float bar = 46.0f;  // letterbox height in texels (about 43 pixels)
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      float u = (float(x) + 0.5f) / kSize * 2.0f - 1.0f;
      float v = (float(y) + 0.5f) / kSize * 2.0f - 1.0f;
      float fy = float(y) + 0.5f;
      // Vignette towards the corners, letterbox bars at top and bottom.
      float r = fsqrt(u * u * 0.9f + v * v);
      float a = 0.7f * smoothstep(0.75f, 1.45f, r);
      float edge = std::min(fy, float(kSize) - fy);
      float inBar = coverage(edge - bar, 1.0f);
      a = std::max(a, 0.86f * inBar);
      Rgba shade = mix(palette::kNight, palette::kDeepBlue, 0.5f * (1.0f - edge / bar) * inBar);
      out.at(x, y) = shade.premultiplied(a);
    }
  // Hairlines on the bars' inner edges, fading out to the sides.
  Plane lines(kSize, kSize);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      float fy = float(y) + 0.5f;
      float u = (float(x) + 0.5f) / kSize;
      float side = smoothstep(0.0f, 0.3f, u) * smoothstep(1.0f, 0.7f, u);
      float d = std::min(std::fabs(fy - bar), std::fabs(fy - (float(kSize) - bar))) - 0.8f;
      lines.at(x, y) = coverage(d * kFullScreen.pixelsY, 1.0f) * side;
    }
  out.paint(lettering.soften(lines, 4.0f), palette::kAmber, 0.8f);
  out.paint(lines, palette::kGold);

  // The closing words in the lower bar, on the right of the screen.
  Plane words(kSize, kSize), name(kSize, kSize);
  TextStyle nameStyle{kBold, 24.0f, kFullScreen.squeeze(), 0.12f};
  TextStyle wordStyle{kBook, 22.0f, kFullScreen.squeeze(), 0.04f};
  float baseline = float(kSize) - bar * 0.5f + 8.0f;
  type.draw(name, "KYLVANDER", nameStyle, 492.0f, baseline, Align::Right);
  float nameWidth = type.measure("KYLVANDER", nameStyle).width();
  type.draw(words, "thank you for watching", wordStyle, 492.0f - nameWidth - 18.0f, baseline,
            Align::Right);
  // And a small mark in the upper bar, on the left.
  TextStyle markStyle{kBook, 18.0f, kFullScreen.squeeze(), 0.3f};
  type.draw(words, "FINALE", markStyle, 20.0f, bar * 0.5f + 6.0f, Align::Left);
  out.paint(lettering.soften(name, 4.0f), palette::kAmber, 0.6f);
  out.paint(name, palette::kGold);
  out.paint(words, palette::kIce);

  // The scene draws this picture mirrored left to right.
  out.mirrorX();
  return out;
}

}  // namespace picgen
