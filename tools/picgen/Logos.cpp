// The logos: the show's name for the logo flight (it flashes white through
// GL_ADD, so its alpha alone must draw the letters) and the names of the
// two people behind their photos.
#include <algorithm>
#include <cmath>
#include <string>

#include "Designs.h"
#include "Lettering.h"
#include "Noise.h"
#include "Palette.h"
#include "Sdf.h"

namespace picgen {
namespace {

// logga2 spans the full width and the lower 40 % of the screen.
constexpr Footprint kFlightLogo{640.0f / 512.0f, 192.0f / 512.0f};
// The name logos: about 2 by 1 half-screens, jittering around that.
constexpr Footprint kNameLogo{640.0f / 512.0f, 240.0f / 512.0f};
constexpr int kSize = 512;
const char* const kBold = "DejaVuSans-Bold.ttf";

// A rule with tapered ends across the picture at height y.
void drawRule(Plane& mask, float y, float halfThickness, float x0, float x1, float pixelsY) {
  for (int py = 0; py < mask.height(); ++py)
    for (int px = 0; px < mask.width(); ++px) {
      float fx = float(px) + 0.5f, fy = float(py) + 0.5f;
      float t = clamp01((fx - x0) / (x1 - x0));
      float taper = fsqrt(std::max(0.0f, 1.0f - (2.0f * t - 1.0f) * (2.0f * t - 1.0f)));
      float d = (std::fabs(fy - y) - halfThickness * taper) * pixelsY;
      float inside = fx > x0 && fx < x1 ? 1.0f : 0.0f;
      float& m = mask.at(px, py);
      m = std::max(m, coverage(d, 1.0f) * inside);
    }
}

}  // namespace

Picture flightLogo(Studio& studio) {
  Typesetter& type = studio.type();
  Lettering lettering(kFlightLogo);
  TextStyle style{kBold, 100.0f, kFlightLogo.squeeze(), 0.03f};
  const std::string name = "KYLVANDER";
  style.size = type.sizeForWidth(name, style, 452.0f);
  Typesetter::Extent e = type.measure(name, style);
  float baseline = std::floor(kSize * 0.5f - (e.top + e.bottom) * 0.5f);
  Plane letters(kSize, kSize);
  type.draw(letters, name, style, kSize * 0.5f, baseline, Align::Centre);

  // Rules above and below, tapering to points.
  Plane rules(kSize, kSize);
  float top = baseline + e.top - 46.0f, bottom = baseline + e.bottom + 46.0f;
  drawRule(rules, top, 7.0f, 20.0f, 492.0f, kFlightLogo.pixelsY);
  drawRule(rules, bottom, 7.0f, 20.0f, 492.0f, kFlightLogo.pixelsY);

  Plane outline = lettering.grow(letters, 3.0f);
  Plane glow = lettering.soften(letters, 10.0f);
  Plane ruleGlow = lettering.soften(rules, 6.0f);
  Plane bevel = lettering.bevel(letters, 3.0f);

  Picture out(kSize, kSize);
  // Glow first (faint alpha: a soft bloom when the logo flashes white).
  out.paint(glow, palette::kIce, 0.45f);
  out.paint(ruleGlow, palette::kAmber, 0.35f);
  out.paint(outline, palette::kNight);
  out.paint(rules, palette::kGold);
  float capTop = baseline + e.top, capBottom = baseline + e.bottom;
  for (int y = 0; y < kSize; ++y) {
    float t = clamp01((float(y) + 0.5f - capTop) / (capBottom - capTop));
    // Ice white at the top through teal, with a horizon line of light.
    Rgba fill = t < 0.55f ? mix(palette::kFrost, palette::kIce, t / 0.55f)
                          : mix(palette::kTeal, palette::kDeepBlue.rgbScaled(2.0f), (t - 0.55f) / 0.45f);
    for (int x = 0; x < kSize; ++x) {
      float m = letters.at(x, y);
      if (m <= 0.0f) continue;
      float b = bevel.at(x, y);
      Rgba c = fill + Rgba(1, 1, 1, 0) * (0.45f * std::max(0.0f, b)) - Rgba(1, 1, 1, 0) * (0.25f * std::max(0.0f, -b));
      Rgba& d = out.at(x, y);
      d = over(Rgba(clamp01(c.r), clamp01(c.g), clamp01(c.b), 1.0f).premultiplied(m), d);
    }
  }
  return out;
}

Picture nameLogo(Studio& studio, int person) {
  Typesetter& type = studio.type();
  Lettering lettering(kNameLogo);
  const std::string name = person == 0 ? "MORRIK" : "TELVA";
  const Rgba light = person == 0 ? palette::kGold : palette::kIce;
  const Rgba deep = person == 0 ? palette::kEmber : palette::kViolet;
  TextStyle style{kBold, 100.0f, kNameLogo.squeeze(), 0.06f};
  style.size = type.sizeForWidth(name, style, 470.0f);
  Typesetter::Extent e = type.measure(name, style);
  // Keep the letters within the picture's height with room for the glow.
  if (e.height() > 400.0f) {
    style.size *= 400.0f / e.height();
    e = type.measure(name, style);
  }
  float baseline = std::floor(kSize * 0.5f - (e.top + e.bottom) * 0.5f);
  Plane letters(kSize, kSize);
  type.draw(letters, name, style, kSize * 0.5f, baseline, Align::Centre);

  Plane outline = lettering.grow(letters, 4.0f);
  Plane glow = lettering.soften(letters, 14.0f);
  Plane bevel = lettering.bevel(letters, 4.0f);
  Noise noise(person == 0 ? 501u : 502u);

  Picture out(kSize, kSize);
  out.paint(glow, light, 0.5f);
  out.paint(outline, light);
  float capTop = baseline + e.top, capBottom = baseline + e.bottom;
  for (int y = 0; y < kSize; ++y) {
    float t = clamp01((float(y) + 0.5f - capTop) / (capBottom - capTop));
    // Horizontal stripes, 8 screen pixels apart, fading down the letters.
    float stripe = 0.5f + 0.5f * fcos((float(y) + 0.5f) * kNameLogo.pixelsY * (2.0f * kPi / 8.0f));
    for (int x = 0; x < kSize; ++x) {
      float m = letters.at(x, y);
      if (m <= 0.0f) continue;
      float n = noise.fbm(float(x) / 60.0f, float(y) / 25.0f, 3);
      Rgba fill = mix(light, deep, t * 0.85f + 0.1f * n);
      fill = fill.rgbScaled(0.75f + 0.25f * stripe + 0.35f * bevel.at(x, y));
      Rgba& d = out.at(x, y);
      d = over(Rgba(clamp01(fill.r), clamp01(fill.g), clamp01(fill.b), 1.0f).premultiplied(m), d);
    }
  }
  return out;
}

}  // namespace picgen
