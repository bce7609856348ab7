#include "Noise.h"

#include <cmath>

namespace picgen {
namespace {

int wrap(int i, int period) {
  if (period <= 0) return i;
  int m = i % period;
  return m < 0 ? m + period : m;
}

float fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

// Eight unit-ish directions, picked by hash.
float grad(uint32_t h, float x, float y) {
  switch (h & 7u) {
    case 0: return x + y;
    case 1: return x - y;
    case 2: return -x + y;
    case 3: return -x - y;
    case 4: return 1.41421356f * x;
    case 5: return -1.41421356f * x;
    case 6: return 1.41421356f * y;
    default: return -1.41421356f * y;
  }
}

}  // namespace

uint32_t hash32(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352du;
  x ^= x >> 15;
  x *= 0x846ca68bu;
  x ^= x >> 16;
  return x;
}

uint32_t hash32(uint32_t x, uint32_t y, uint32_t seed) {
  return hash32(x ^ hash32(y ^ hash32(seed + 0x9e3779b9u)));
}

float hashUnit(uint32_t x, uint32_t y, uint32_t seed) {
  return float(hash32(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

float Noise::gradient(float x, float y, int periodX, int periodY) const {
  float fx = std::floor(x);
  float fy = std::floor(y);
  int ix = int(fx);
  int iy = int(fy);
  float tx = x - fx;
  float ty = y - fy;
  int x0 = wrap(ix, periodX), x1 = wrap(ix + 1, periodX);
  int y0 = wrap(iy, periodY), y1 = wrap(iy + 1, periodY);
  float n00 = grad(hash32(uint32_t(x0), uint32_t(y0), seed_), tx, ty);
  float n10 = grad(hash32(uint32_t(x1), uint32_t(y0), seed_), tx - 1.0f, ty);
  float n01 = grad(hash32(uint32_t(x0), uint32_t(y1), seed_), tx, ty - 1.0f);
  float n11 = grad(hash32(uint32_t(x1), uint32_t(y1), seed_), tx - 1.0f, ty - 1.0f);
  float u = fade(tx);
  float v = fade(ty);
  float a = n00 + (n10 - n00) * u;
  float b = n01 + (n11 - n01) * u;
  return (a + (b - a) * v) * 0.8f;
}

float Noise::fbm(float x, float y, int octaves, int periodX, int periodY) const {
  float sum = 0.0f;
  float amplitude = 1.0f;
  float norm = 0.0f;
  for (int o = 0; o < octaves; ++o) {
    Noise octave(seed_ + uint32_t(o) * 1013u);
    sum += octave.gradient(x, y, periodX, periodY) * amplitude;
    norm += amplitude;
    amplitude *= 0.5f;
    x *= 2.0f;
    y *= 2.0f;
    periodX *= 2;
    periodY *= 2;
  }
  return sum / norm * 1.6f;
}

float Noise::ridged(float x, float y, int octaves, int periodX, int periodY) const {
  float sum = 0.0f;
  float amplitude = 1.0f;
  float norm = 0.0f;
  for (int o = 0; o < octaves; ++o) {
    Noise octave(seed_ + uint32_t(o) * 7919u);
    float n = 1.0f - std::fabs(octave.gradient(x, y, periodX, periodY));
    sum += n * n * amplitude;
    norm += amplitude;
    amplitude *= 0.5f;
    x *= 2.0f;
    y *= 2.0f;
    periodX *= 2;
    periodY *= 2;
  }
  return sum / norm;
}

}  // namespace picgen
