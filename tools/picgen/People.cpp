// The people: four photos per person for the photo scenes (additive), a
// medallion for the tunnel and a bust for the knot scene (alpha-blended).
#include <algorithm>
#include <cmath>

#include "Designs.h"
#include "Noise.h"
#include "Palette.h"
#include "Sdf.h"

namespace picgen {
namespace {

// Photos are drawn on x from -0.7 to 0.7, full height: 448 x 480 pixels.
constexpr Footprint kPhoto{448.0f / 512.0f, 480.0f / 512.0f};
// The tunnel's portrait wobbles around 0.6 of the half-screen each way.
constexpr Footprint kMedallion{384.0f / 512.0f, 288.0f / 512.0f};
// The knot scene's portrait covers 0.606 of the width, two thirds of the height.
constexpr Footprint kCorner{388.0f / 512.0f, 320.0f / 512.0f};

struct PhotoStyle {
  Person person;
  Rgba light;   // the person's accent: line work, halo
  Rgba second;  // halftone
  Rgba third;   // scanlines
};

PhotoStyle photoStyle(int person) {
  if (person == 0) return {morrik(), palette::kAmber, palette::kGold, palette::kIce};
  return {telva(), palette::kIce, palette::kRose, Rgba(0.55f, 0.45f, 1.0f)};
}

PortraitFrame photoFrame() {
  PortraitFrame f;
  f.centreX = 256.0f;
  f.centreY = 210.0f;
  f.scale = 132.0f;
  f.squeeze = kPhoto.squeeze();
  return f;
}

Plane luma(const Picture& p) {
  Plane l(p.width(), p.height());
  for (int y = 0; y < p.height(); ++y)
    for (int x = 0; x < p.width(); ++x) l.at(x, y) = p.at(x, y).luma();
  return l;
}

// Glow just outside a silhouette: blurred alpha minus the shape itself.
Plane halo(const Plane& alpha, float radius) {
  Plane glow = alpha.blurred(radius);
  for (int y = 0; y < glow.height(); ++y)
    for (int x = 0; x < glow.width(); ++x) glow.at(x, y) = std::max(0.0f, glow.at(x, y) - alpha.at(x, y) * 0.6f);
  return glow;
}

}  // namespace

Picture photo(Studio& studio, int person, int treatment) {
  PhotoStyle style = photoStyle(person);
  const PortraitLayers& layers = studio.portrait(style.person, photoFrame());
  const int w = 512, h = 512;
  Picture out(w, h, Rgba(0, 0, 0, 1));
  Plane alpha = layers.colour.alpha();
  switch (treatment) {
    case 0: {
      // The painting itself, brightened: the scene shows it at most at 0.375.
      out.addLight(halo(alpha, 14.0f), style.light, 0.55f);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const Rgba& c = layers.colour.at(x, y);
          Rgba& d = out.at(x, y);
          d = Rgba(d.r * (1.0f - c.a) + c.r * 1.25f, d.g * (1.0f - c.a) + c.g * 1.25f,
                   d.b * (1.0f - c.a) + c.b * 1.25f, 1.0f);
        }
      break;
    }
    case 1: {
      // Neon line drawing: a sharp core inside two glows.
      Plane ink = layers.ink;
      out.addLight(ink.blurred(9.0f), style.light, 1.6f);
      out.addLight(ink.blurred(2.0f), style.light, 1.1f);
      out.addLight(ink, Rgba(1.0f, 0.97f, 0.92f), 0.9f);
      break;
    }
    case 2: {
      // Halftone: dots on a 45-degree grid whose size follows the light.
      Plane light = luma(layers.colour).blurred(1.0f);
      const float cell = 9.0f;
      const float cs = 0.70710678f;
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          float px = float(x) + 0.5f, py = float(y) + 0.5f;
          float u = (px * cs + py * cs) / cell;
          float v = (-px * cs + py * cs) / cell;
          float fu = u - std::floor(u) - 0.5f;
          float fv = v - std::floor(v) - 0.5f;
          float dist = fsqrt(fu * fu + fv * fv) * cell;
          float level = fsqrt(clamp01(light.at(x, y) * 1.5f)) * alpha.at(x, y);
          float radius = level * cell * 0.62f;
          float dot = clamp01(radius - dist + 0.5f) * smoothstep(0.0f, 1.0f, radius);
          out.at(x, y) = out.at(x, y) + style.second.rgbScaled(dot * 1.1f).withAlpha(0.0f);
        }
      out.addLight(halo(alpha, 6.0f), style.second, 0.35f);
      break;
    }
    default: {
      // Hologram: scanlines that carry the light, a bright contour and a
      // slow shimmer across.
      Plane light = luma(layers.colour);
      Noise noise(style.person.seed + 5u);
      for (int y = 0; y < h; ++y) {
        float line = 0.5f + 0.5f * fcos(float(y) * (2.0f * kPi / 4.0f));
        for (int x = 0; x < w; ++x) {
          float shimmer = 0.75f + 0.25f * noise.fbm(float(x) / 90.0f, float(y) / 30.0f, 2);
          float level = light.at(x, y) * 1.6f * (0.35f + 0.65f * line) * shimmer;
          out.at(x, y) = out.at(x, y) + style.third.rgbScaled(level).withAlpha(0.0f);
        }
      }
      Plane edge = alpha.blurred(2.0f);
      Plane contour(w, h);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) contour.at(x, y) = 1.0f - std::fabs(edge.at(x, y) * 2.0f - 1.0f);
      out.addLight(contour, style.third, 0.9f);
      out.addLight(halo(alpha, 18.0f), style.third, 0.4f);
      break;
    }
  }
  return out;
}

Picture tunnelPortrait(Studio& studio) {
  const int w = 512, h = 512;
  const float sq = kMedallion.squeeze();
  const float cx = 256.0f, cy = 256.0f, ry = 226.0f;
  Picture out(w, h);
  Noise noise(0x9017u);
  // The medallion: a deep gradient disc with rays behind the head.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Vec2 p((float(x) + 0.5f - cx) / sq, float(y) + 0.5f - cy);
      float r = p.length();
      float d = r - ry;
      float a = fatan2(p.y, p.x);
      float rays = 0.5f + 0.5f * fsin(a * 18.0f + 0.4f * noise.fbm(a * 3.0f, r / 60.0f, 2));
      Rgba inner = mix(palette::kTeal, palette::kDeepBlue, smoothstep(0.0f, 1.0f, r / ry));
      inner = inner + palette::kIce.rgbScaled(0.10f * rays * (1.0f - r / ry));
      float n = noise.fbm(float(x) / 70.0f, float(y) / 70.0f, 4);
      inner = inner.rgbScaled(0.9f + 0.2f * n);
      // Gold ring, a thin inner line, and a soft outer glow.
      float ringCov = coverage(std::fabs(d + 7.0f) - 5.5f, 1.0f);
      float innerLine = coverage(std::fabs(d + 20.0f) - 1.2f, 1.0f);
      float glow = fexp(-std::max(0.0f, d) / 10.0f) * 0.55f;
      float disc = coverage(d, 1.0f);
      Rgba c = inner.withAlpha(1.0f);
      float shine = 0.75f + 0.25f * fsin(a * 2.0f - 0.8f);
      c = mix(c, palette::kGold.rgbScaled(shine), ringCov);
      c = mix(c, palette::kGold.rgbScaled(0.8f), innerLine * 0.7f);
      Rgba px = c.premultiplied(disc);
      if (disc < 1.0f) px = over(px, palette::kIce.premultiplied(glow * (1.0f - disc)));
      out.at(x, y) = px;
    }
  // The bust, cut off by the inside of the ring.
  PortraitFrame frame;
  frame.centreX = cx;
  frame.centreY = 214.0f;
  frame.scale = 118.0f;
  frame.squeeze = sq;
  const PortraitLayers& layers = studio.portrait(pulkar(), frame);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Vec2 p((float(x) + 0.5f - cx) / sq, float(y) + 0.5f - cy);
      float inside = coverage(p.length() - (ry - 12.0f), 1.0f);
      out.at(x, y) = over(layers.colour.at(x, y) * inside, out.at(x, y));
    }
  return out;
}

Picture knotPortrait(Studio& studio) {
  const int w = 512, h = 512;
  PortraitFrame frame;
  frame.centreX = 262.0f;
  frame.centreY = 236.0f;
  frame.scale = 126.0f;
  frame.squeeze = kCorner.squeeze();
  const PortraitLayers& layers = studio.portrait(dransel(), frame);
  Plane alpha = layers.colour.alpha();
  // A warm glow behind the bust lets it sit in the scene instead of on it.
  Plane glow = alpha.blurred(22.0f);
  Picture out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float g = clamp01(glow.at(x, y) * 1.4f) * 0.65f;
      out.at(x, y) = over(layers.colour.at(x, y), palette::kAmber.premultiplied(g));
    }
  return out;
}

}  // namespace picgen
