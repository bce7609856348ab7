// The scroller scene's two pictures. The scroller is twice as wide as high:
// the loader resamples it to 512 x 512, and the scene shows half its width
// at a time across the whole screen, scrolling sideways and wrapping, so it
// is seamless at its left and right edges and its text is band-limited
// across for the 2:1 resampling. scroll_over is added over it, a quarter of
// its height at a time, scrolling upwards.
#include <algorithm>
#include <cmath>
#include <string>

#include "ColorRamp.h"
#include "Designs.h"
#include "Lettering.h"
#include "Noise.h"
#include "Palette.h"
#include "Sdf.h"
#include "Starfield.h"

namespace picgen {
namespace {

constexpr int kWide = 1024;
constexpr int kHigh = 512;
// Half of the 1024 columns fill the 640 pixels across; 512 rows fill 480.
constexpr Footprint kScroller{640.0f / 512.0f, 480.0f / 512.0f};
const char* const kBold = "DejaVuSans-Bold.ttf";
const char* const kBook = "DejaVuSans.ttf";
const char* const kSerif = "DejaVuSerif.ttf";

// Sets a line so that its ink spans the width less `gap`, centred: the
// gap straddles the seam, where a separator goes.
float setBand(Typesetter& type, Plane& mask, const std::string& text, TextStyle style,
              float baseline, float gap) {
  style.size = type.sizeForWidth(text, style, float(kWide) - gap);
  type.draw(mask, text, style, float(kWide) * 0.5f, baseline, Align::Centre);
  return style.size;
}

// A four-pointed star at the seam (drawn on both edges).
void seamStar(Plane& mask, float cy, float radius) {
  for (int y = 0; y < kHigh; ++y)
    for (int x = 0; x < kWide; ++x) {
      float dx = std::min(float(x) + 0.5f, float(kWide) - float(x) - 0.5f) * kScroller.pixelsX;
      float dy = (float(y) + 0.5f - cy) * kScroller.pixelsY;
      // |x|^0.5 + |y|^0.5 = r^0.5: an astroid-like star.
      float s = fsqrt(std::fabs(dx)) + fsqrt(std::fabs(dy)) - fsqrt(radius);
      float& m = mask.at(x, y);
      m = std::max(m, clamp01(0.5f - s * 2.0f * fsqrt(radius)));
    }
}

}  // namespace

Picture scroller(Studio& studio) {
  Typesetter& type = studio.type();
  Lettering lettering(kScroller, Plane::Edge::Wrap);

  // Ground: a deep band-lit gradient with a faint tiling cloud texture.
  Noise cloud(601), stripes(602);
  Picture out(kWide, kHigh);
  for (int y = 0; y < kHigh; ++y)
    for (int x = 0; x < kWide; ++x) {
      float u = (float(x) + 0.5f) / kWide, v = (float(y) + 0.5f) / kHigh;
      float n = cloud.fbm(u * 8.0f, v * 3.0f, 4, 8, 3);
      float band = fexp(-((v - 0.52f) * (v - 0.52f)) / 0.03f);
      Rgba c = mix(palette::kNight, palette::kDeepBlue, 0.5f + 0.5f * n);
      c = c + palette::kTeal.rgbScaled(0.22f * band * (0.7f + 0.3f * n));
      float lines = 0.5f + 0.5f * fcos(float(y) * (2.0f * kPi / 6.0f));
      c = c.rgbScaled(0.9f + 0.1f * lines);
      out.at(x, y) = c.withAlpha(1.0f);
    }
  StarfieldStyle stars;
  stars.seed = 603;
  stars.cellsX = 64;
  stars.cellsY = 24;
  stars.density = 0.35f;
  stars.brightness = 0.5f;
  stars.squeeze = kScroller.squeeze();
  addStars(out, stars);

  // Three bands of text: a greeting, the show's name, the credits.
  Plane greeting(kWide, kHigh), title(kWide, kHigh), credits(kWide, kHigh), stars2(kWide, kHigh);
  setBand(type, greeting, "greetings to everyone who makes light and sound from code",
          TextStyle{kSerif, 40.0f, kScroller.squeeze(), 0.02f}, 92.0f, 90.0f);
  setBand(type, title, "KYLVANDER", TextStyle{kBold, 180.0f, kScroller.squeeze(), 0.05f}, 345.0f,
          150.0f);
  setBand(type, credits, "made by morrik, telva, pulkar and dransel \xc2\xb7 music: brumtakt",
          TextStyle{kBook, 40.0f, kScroller.squeeze(), 0.03f}, 452.0f, 90.0f);
  seamStar(stars2, 75.0f, 14.0f);
  seamStar(stars2, 270.0f, 34.0f);
  seamStar(stars2, 437.0f, 14.0f);

  // The loader samples every second column: soften across first.
  greeting = greeting.blurredX(1.0f, Plane::Edge::Wrap);
  title = title.blurredX(1.0f, Plane::Edge::Wrap);
  credits = credits.blurredX(1.0f, Plane::Edge::Wrap);
  stars2 = stars2.blurredX(1.0f, Plane::Edge::Wrap);

  // Rules between the bands.
  Plane rules(kWide, kHigh);
  for (int y = 0; y < kHigh; ++y)
    for (int x = 0; x < kWide; ++x) {
      float fy = float(y) + 0.5f;
      float d = std::min(std::fabs(fy - 128.0f), std::fabs(fy - 404.0f)) - 1.0f;
      rules.at(x, y) = coverage(d, 1.0f) * 0.8f;
    }

  out.addLight(lettering.soften(rules, 4.0f), palette::kTeal, 0.8f);
  out.paint(rules, palette::kIce, 0.6f);
  out.addLight(lettering.soften(title, 16.0f), palette::kAmber, 1.0f);
  out.addLight(lettering.soften(greeting, 6.0f), palette::kAmber, 0.5f);
  out.addLight(lettering.soften(credits, 6.0f), palette::kTeal, 0.7f);
  out.addLight(lettering.soften(stars2, 8.0f), palette::kGold, 1.0f);
  out.paint(lettering.grow(title, 3.0f), palette::kNight);
  Plane bevel = lettering.bevel(title, 3.0f);
  // Kept near white: the scene shows the scroller at about a fifth of its
  // brightness most of the time, so the letters need all the light they get.
  ColorRamp titleRamp{{0.0f, palette::kWhite},
                      {0.5f, palette::kFrost},
                      {0.62f, Rgba(1.0f, 0.93f, 0.78f)},
                      {1.0f, palette::kGold}};
  for (int y = 0; y < kHigh; ++y) {
    Rgba fill = titleRamp.at((float(y) - 210.0f) / 140.0f);
    for (int x = 0; x < kWide; ++x) {
      float m = title.at(x, y);
      if (m <= 0.0f) continue;
      Rgba c = fill.rgbScaled(1.0f + 0.3f * bevel.at(x, y));
      out.at(x, y) = over(Rgba(clamp01(c.r), clamp01(c.g), clamp01(c.b)).premultiplied(m), out.at(x, y));
    }
  }
  out.paint(greeting, palette::kGold);
  out.paint(credits, palette::kIce);
  out.paint(stars2, Rgba(1.0f, 0.95f, 0.8f));
  return out;
}

Picture scrollOver(Studio&) {
  // Curtains of light: narrow across, long down (the scene stretches this
  // picture four times down), tiling both ways as it scrolls and repeats.
  Noise curtains(701), sway(702), tint(703), sparkle(704);
  Picture out(512, 512, Rgba(0, 0, 0, 1));
  for (int y = 0; y < 512; ++y)
    for (int x = 0; x < 512; ++x) {
      float u = (float(x) + 0.5f) / 512.0f, v = (float(y) + 0.5f) / 512.0f;
      float s = sway.fbm(u * 3.0f, v * 4.0f, 2, 3, 4);
      float c = curtains.fbm(u * 20.0f + 2.5f * s, v * 6.0f, 4, 20, 6);
      float curtain = smoothstep(0.0f, 0.9f, c);
      float t = 0.5f + 0.5f * tint.fbm(u * 2.0f, v * 4.0f, 2, 2, 4);
      Rgba colour = t < 0.5f ? mix(palette::kTeal, palette::kIce, t * 2.0f)
                             : mix(palette::kIce, palette::kViolet, (t - 0.5f) * 2.0f);
      float glitter = sparkle.ridged(u * 40.0f, v * 40.0f, 2, 40, 40);
      glitter = fpow(glitter, 12.0f);
      Rgba light = colour.rgbScaled(0.46f * curtain * curtain + 0.05f) +
                   palette::kFrost.rgbScaled(0.25f * glitter * curtain);
      out.at(x, y) = light.withAlpha(1.0f);
    }
  return out;
}

}  // namespace picgen
