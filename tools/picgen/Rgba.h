// Picture generator: one premultiplied RGBA colour in floats. Pictures are
// composed in premultiplied form, so layering is one multiply-add per channel
// and blurs never bleed dark fringes; straight alpha is made only when a file
// is written.
#pragma once

#include <algorithm>

namespace picgen {

struct Rgba {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  float a = 0.0f;

  Rgba() = default;
  constexpr Rgba(float red, float green, float blue, float alpha = 1.0f)
      : r(red), g(green), b(blue), a(alpha) {}

  Rgba operator+(const Rgba& o) const { return {r + o.r, g + o.g, b + o.b, a + o.a}; }
  Rgba operator-(const Rgba& o) const { return {r - o.r, g - o.g, b - o.b, a - o.a}; }
  Rgba operator*(float s) const { return {r * s, g * s, b * s, a * s}; }
  Rgba operator*(const Rgba& o) const { return {r * o.r, g * o.g, b * o.b, a * o.a}; }
  Rgba& operator+=(const Rgba& o) { return *this = *this + o; }

  // The same colour with every channel scaled but alpha kept.
  Rgba rgbScaled(float s) const { return {r * s, g * s, b * s, a}; }
  Rgba withAlpha(float alpha) const { return {r, g, b, alpha}; }
  // Straight colour to premultiplied, with a coverage applied on top.
  Rgba premultiplied(float coverage = 1.0f) const {
    float k = a * coverage;
    return {r * k, g * k, b * k, k};
  }
  float luma() const { return r * 0.2126f + g * 0.7152f + b * 0.0722f; }
};

inline float clamp01(float x) { return std::min(1.0f, std::max(0.0f, x)); }
inline float mixf(float a, float b, float t) { return a + (b - a) * t; }
inline Rgba mix(const Rgba& a, const Rgba& b, float t) { return a + (b - a) * t; }
inline float smoothstep(float e0, float e1, float x) {
  float t = clamp01((x - e0) / (e1 - e0));
  return t * t * (3.0f - 2.0f * t);
}

// Premultiplied "over": top covers bottom by top's alpha.
inline Rgba over(const Rgba& top, const Rgba& bottom) {
  return top + bottom * (1.0f - top.a);
}

}  // namespace picgen
