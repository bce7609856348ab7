// The four full-screen backgrounds. Each is seen stretched to 640 x 480, so
// noise runs 4:3 more cells across than down and round things are drawn
// narrower; each tiles, since the show's textures repeat at the edges.
#include <algorithm>
#include <cmath>

#include "ColorRamp.h"
#include "Designs.h"
#include "Noise.h"
#include "Palette.h"
#include "Sdf.h"
#include "Starfield.h"

namespace picgen {
namespace {

constexpr Footprint kFullScreen{640.0f / 512.0f, 480.0f / 512.0f};
constexpr int kSize = 512;

// Calls f(u, v) for every pixel centre, u and v from 0 to 1 (v downwards).
template <class F>
Picture paintPixels(int w, int h, F f) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      p.at(x, y) = f((float(x) + 0.5f) / float(w), (float(y) + 0.5f) / float(h));
  return p;
}

// Screen-round coordinates of (u, v): x spans 4/3 for every 1 of y.
Vec2 screenPoint(float u, float v) { return Vec2(u * (4.0f / 3.0f), v); }

}  // namespace

Picture openingBackground(Studio&) {
  // Night nebula: domain-warped clouds in blues and teals with a few amber
  // wisps, over a deep gradient; it is slowly zoomed, so it stays smooth.
  Noise warpA(101), warpB(102), cloud(103), wisps(104), veil(105);
  ColorRamp ramp{{0.00f, palette::kNight},
                 {0.42f, palette::kDeepBlue},
                 {0.62f, palette::kTeal.rgbScaled(0.8f)},
                 {0.82f, palette::kIce.rgbScaled(0.75f)},
                 {1.00f, palette::kFrost}};
  Picture p = paintPixels(kSize, kSize, [&](float u, float v) {
    float x = u * 4.0f, y = v * 3.0f;
    float wx = warpA.fbm(x, y, 3, 4, 3);
    float wy = warpB.fbm(x, y, 3, 4, 3);
    float n = cloud.fbm(x + 0.8f * wx, y + 0.8f * wy, 5, 4, 3);
    float t = clamp01(0.5f + 0.55f * n);
    Rgba c = ramp.at(t).rgbScaled(0.25f + 0.85f * smoothstep(0.25f, 0.9f, t));
    float w = wisps.ridged(x * 1.5f + wx, y * 1.5f + wy, 4, 6, 5);
    float m = smoothstep(0.0f, 0.6f, veil.fbm(x, y, 2, 4, 3));
    c = c + palette::kAmber.rgbScaled(0.22f * w * w * w * m);
    c = c + palette::kViolet.rgbScaled(0.10f * smoothstep(0.3f, 0.9f, 1.0f - t));
    return c.withAlpha(1.0f);
  });
  StarfieldStyle stars;
  stars.seed = 106;
  stars.cellsX = 40;
  stars.cellsY = 40;
  stars.density = 0.55f;
  stars.brightness = 0.9f;
  stars.squeeze = kFullScreen.squeeze();
  stars.glints = 0.6f;
  addStars(p, stars);
  return p;
}

Picture knotBackground(Studio&) {
  // A warm eclipse in the upper right (the portrait takes the lower left):
  // a dark disc in a corona of gold, rays, and a violet nebula around.
  Noise cloud(201), rays(202), warp(203);
  const Vec2 centre = screenPoint(0.70f, 0.34f);
  const float radius = 0.17f;
  ColorRamp sky{{0.0f, palette::kNight},
                {0.5f, Rgba(0.09f, 0.06f, 0.20f)},
                {0.8f, palette::kViolet.rgbScaled(0.6f)},
                {1.0f, palette::kRose.rgbScaled(0.6f)}};
  Picture p = paintPixels(kSize, kSize, [&](float u, float v) {
    Vec2 s = screenPoint(u, v);
    float x = u * 4.0f, y = v * 3.0f;
    float w = warp.fbm(x, y, 3, 4, 3);
    float n = cloud.fbm(x + w, y - w, 5, 4, 3);
    float t = clamp01(0.45f + 0.5f * n);
    Rgba c = sky.at(t).rgbScaled(0.35f + 0.8f * t);
    Vec2 d = s - centre;
    float r = d.length();
    float a = fatan2(d.y, d.x);
    float edge = r - radius;
    // Rays: angular noise, periodic around the circle.
    float ray = rays.fbm((a / (2.0f * kPi) + 0.5f) * 24.0f, r * 4.0f, 3, 24, 0);
    ray = smoothstep(-0.1f, 0.8f, ray);
    float corona = fexp(-std::max(0.0f, edge) / 0.035f);
    float glow = fexp(-std::max(0.0f, edge) / 0.18f);
    float beams = ray * fexp(-std::max(0.0f, edge) / 0.30f);
    c = c + palette::kGold.rgbScaled(1.2f * corona);
    c = c + palette::kAmber.rgbScaled(0.55f * glow + 0.45f * beams);
    c = c + palette::kEmber.rgbScaled(0.25f * glow);
    // The dark disc, faintly lit at its rim.
    float disc = coverage(edge, 0.004f);
    Rgba inside = palette::kNight.rgbScaled(0.6f) +
                  palette::kAmber.rgbScaled(0.25f * smoothstep(-0.05f, 0.0f, edge));
    c = mix(c, inside, disc);
    return c.withAlpha(1.0f);
  });
  StarfieldStyle stars;
  stars.seed = 204;
  stars.cellsX = 36;
  stars.cellsY = 36;
  stars.density = 0.5f;
  stars.brightness = 0.8f;
  stars.squeeze = kFullScreen.squeeze();
  stars.glints = 0.4f;
  addStars(p, stars);
  return p;
}

Picture closingBackground(Studio&) {
  // Dawn over a calm sea: the sun half risen, cloud bands lit from below,
  // its light broken into glints on the water. Shown at 60 % grey, so it
  // is painted bright.
  Noise bands(301), glints(302), haze(303);
  const float horizon = 0.70f;
  const Vec2 sun = screenPoint(0.5f, horizon + 0.01f);
  const float sunRadius = 0.085f;
  ColorRamp sky{{0.00f, Rgba(0.05f, 0.08f, 0.22f)},
                {0.35f, Rgba(0.20f, 0.16f, 0.42f)},
                {0.55f, palette::kRose.rgbScaled(0.75f)},
                {0.66f, palette::kAmber},
                {0.70f, palette::kGold}};
  Picture p = paintPixels(kSize, kSize, [&](float u, float v) {
    Vec2 s = screenPoint(u, v);
    Vec2 d = s - sun;
    float r = d.length();
    Rgba c;
    if (v < horizon) {
      c = sky.at(v);
      // Cloud bands: stretched noise, lit warm from below near the sun.
      float n = bands.fbm(u * 3.0f, v * 16.0f + 0.6f * haze.fbm(u * 2.0f, v * 2.0f, 2, 2, 2), 5, 3, 16);
      float cloud = smoothstep(0.05f, 0.6f, n) * smoothstep(0.05f, 0.35f, v);
      float warm = fexp(-r / 0.35f);
      Rgba lit = mix(palette::kViolet.rgbScaled(0.55f), palette::kGold, warm);
      c = mix(c, lit, cloud * 0.75f);
      c = c + palette::kGold.rgbScaled(0.55f * fexp(-r / 0.12f) + 0.25f * fexp(-r / 0.4f));
      float disc = coverage(r - sunRadius, 0.003f);
      c = mix(c, Rgba(1.0f, 0.97f, 0.85f), disc);
    } else {
      // Water: dark, with glints that gather under the sun.
      float depth = (v - horizon) / (1.0f - horizon);
      c = mix(Rgba(0.20f, 0.14f, 0.26f), Rgba(0.03f, 0.05f, 0.14f), fsqrt(depth));
      float g = glints.fbm(u * 12.0f, v * 90.0f, 3, 12, 90);
      float column = fexp(-std::fabs(d.x) / (0.06f + 0.35f * depth));
      float sparkle = smoothstep(0.25f, 0.8f, g);
      c = c + palette::kGold.rgbScaled(sparkle * column * (1.2f - 0.6f * depth));
      c = c + palette::kAmber.rgbScaled(0.35f * fexp(-r / 0.2f));
    }
    return c.withAlpha(1.0f);
  });
  // A few stars still out at the top.
  StarfieldStyle stars;
  stars.seed = 304;
  stars.cellsX = 30;
  stars.cellsY = 30;
  stars.density = 0.4f;
  stars.brightness = 0.5f;
  stars.squeeze = kFullScreen.squeeze();
  Picture starLayer(kSize, kSize);
  addStars(starLayer, stars);
  for (int y = 0; y < kSize; ++y) {
    float fade = smoothstep(0.45f, 0.05f, (float(y) + 0.5f) / float(kSize));
    for (int x = 0; x < kSize; ++x) p.at(x, y) = p.at(x, y) + starLayer.at(x, y).rgbScaled(fade);
  }
  return p;
}

Picture flightBackground(Studio&) {
  // Speed: streaks rushing out of a bright core, in ice, teal and violet.
  // Shown at 40 % grey behind a very wide lens, so it is painted bright.
  Noise streaks(401), tint(402), fine(403);
  const Vec2 centre = screenPoint(0.5f, 0.5f);
  Picture p = paintPixels(kSize, kSize, [&](float u, float v) {
    Vec2 d = screenPoint(u, v) - centre;
    float r = d.length();
    float a = fatan2(d.y, d.x) / (2.0f * kPi) + 0.5f;
    float lr = float(std::log(double(r) + 0.02));
    float s = streaks.fbm(a * 48.0f, lr * 1.5f, 4, 48, 0);
    float f = fine.fbm(a * 160.0f, lr * 3.0f, 2, 160, 0);
    float streak = smoothstep(0.0f, 0.9f, s) * (0.5f + 0.5f * smoothstep(-0.2f, 0.6f, f));
    float hue = 0.5f + 0.5f * tint.fbm(a * 6.0f, 0.3f, 2, 6, 0);
    Rgba colour = hue < 0.5f ? mix(palette::kViolet, palette::kTeal, hue * 2.0f)
                             : mix(palette::kTeal, palette::kIce, (hue - 0.5f) * 2.0f);
    float reach = smoothstep(0.02f, 0.5f, r);
    Rgba c = palette::kDeepBlue.rgbScaled(0.6f + 0.8f * r);
    c = c + colour.rgbScaled(1.1f * streak * reach);
    c = c + palette::kFrost.rgbScaled(0.9f * fexp(-r / 0.07f) + 0.35f * fexp(-r / 0.25f));
    return c.withAlpha(1.0f);
  });
  StarfieldStyle stars;
  stars.seed = 404;
  stars.cellsX = 28;
  stars.cellsY = 28;
  stars.density = 0.45f;
  stars.brightness = 0.8f;
  stars.squeeze = kFullScreen.squeeze();
  addStars(p, stars);
  return p;
}

}  // namespace picgen
