// Picture generator: signed distance functions for anti-aliased shapes.
// A distance is negative inside a shape; coverage() turns it into smooth
// edge coverage one pixel wide, which gives clean edges without
// supersampling.
#pragma once

#include <algorithm>
#include <cmath>

#include "MathF.h"
#include "Rgba.h"

namespace picgen {

struct Vec2 {
  float x = 0.0f;
  float y = 0.0f;
  Vec2() = default;
  constexpr Vec2(float px, float py) : x(px), y(py) {}
  Vec2 operator+(Vec2 o) const { return {x + o.x, y + o.y}; }
  Vec2 operator-(Vec2 o) const { return {x - o.x, y - o.y}; }
  Vec2 operator*(float s) const { return {x * s, y * s}; }
  float dot(Vec2 o) const { return x * o.x + y * o.y; }
  float length() const { return fsqrt(x * x + y * y); }
};

// Edge coverage of a distance `d`, for pixels `pixel` units wide.
inline float coverage(float d, float pixel) { return clamp01(0.5f - d / pixel); }

inline float sdCircle(Vec2 p, Vec2 c, float r) { return (p - c).length() - r; }

// Ellipse by scaling a circle: exact on the axes and close elsewhere, which
// is all an edge one pixel wide needs.
inline float sdEllipse(Vec2 p, Vec2 c, float rx, float ry) {
  Vec2 q((p.x - c.x) / rx, (p.y - c.y) / ry);
  float k = q.length();
  if (k < 1e-6f) return -std::min(rx, ry);
  // Divide by the gradient's length for a distance in real units.
  float gx = q.x / (k * rx);
  float gy = q.y / (k * ry);
  return (k - 1.0f) / fsqrt(gx * gx + gy * gy);
}

inline float sdBox(Vec2 p, Vec2 c, Vec2 half, float radius = 0.0f) {
  float dx = std::fabs(p.x - c.x) - half.x + radius;
  float dy = std::fabs(p.y - c.y) - half.y + radius;
  float ox = std::max(dx, 0.0f);
  float oy = std::max(dy, 0.0f);
  return fsqrt(ox * ox + oy * oy) + std::min(std::max(dx, dy), 0.0f) - radius;
}

// Distance to the segment a-b, and (through t) where along it the nearest
// point lies, 0 at a and 1 at b.
inline float segmentDistance(Vec2 p, Vec2 a, Vec2 b, float* t = nullptr) {
  Vec2 pa = p - a;
  Vec2 ba = b - a;
  float len2 = ba.dot(ba);
  float h = len2 > 0.0f ? clamp01(pa.dot(ba) / len2) : 0.0f;
  if (t) *t = h;
  return (pa - ba * h).length();
}

// Rotates p about c by an angle given as its cosine and sine.
inline Vec2 rotate(Vec2 p, Vec2 c, float cs, float sn) {
  Vec2 d = p - c;
  return {c.x + d.x * cs - d.y * sn, c.y + d.x * sn + d.y * cs};
}

// Smooth union: the two shapes melt together over a width k.
inline float smoothUnion(float a, float b, float k) {
  float h = clamp01(0.5f + 0.5f * (b - a) / k);
  return mixf(b, a, h) - k * h * (1.0f - h);
}

}  // namespace picgen
