// A second, deliberately plain computation of the procedural textures (its
// own generator state, sampler and loops), so that the toolkit's pictures
// and the exported files can be checked against something they do not share
// code with. Pixels are RGBA floats here, not Colors.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace reference {

struct Rgba {
  float c[4];  // red, green, blue, alpha
};
using Picture = std::vector<Rgba>;

inline float fsin(float x) { return float(std::sin(double(x))); }

inline Picture radial(int w, int h, Rgba first, Rgba second, float exponent) {
  Picture out(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float dx = 2.0f * float(x) / float(w) - 1.0f;
      const float dy = 2.0f * float(y) / float(h) - 1.0f;
      float t = float(std::pow(double(dx * dx + dy * dy), double(1.0f / exponent)));
      t = t > 1.0f ? 1.0f : t;
      Rgba& p = out[size_t(y) * size_t(w) + size_t(x)];
      for (int k = 0; k < 4; ++k) {
        const float v = first.c[k] * (1.0f - t) + second.c[k] * t;
        p.c[k] = v * v;
      }
    }
  return out;
}

inline Picture plasma(int w, int h, Rgba positive, Rgba negative, uint32_t seed, int waves,
                      int rangeX, int rangeY) {
  uint32_t state = seed;
  auto next = [&state] {
    state = state * 214013u + 2531011u;
    return int((state >> 16) & 0x7FFF);
  };
  std::vector<float> table(size_t(waves) * 6, 0.0f);  // ax1 ax2 ay1 ay2 p1 p2
  for (int i = 0; i < waves; ++i) {
    float* t = &table[size_t(i) * 6];
    if (rangeX > 0) {
      t[0] = float(next() % (2 * rangeX) - rangeX);
      t[1] = float(next() % (2 * rangeX) - rangeX);
    }
    if (rangeY > 0) {
      t[3] = float(next() % (2 * rangeY) - rangeY);
      t[2] = float(next() % (2 * rangeY) - rangeY);
    }
    t[4] = float(next() % 1000) * (1.0f / 17.0f);
    t[5] = float(next() % 1000) * (1.0f / 17.0f);
  }
  Picture out(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float sum = 0.0f;
      for (int i = 0; i < waves; ++i) {
        const float* t = &table[size_t(i) * 6];
        const float a = 6.283f * (float(y) * t[2] / float(h) + float(x) * t[0] / float(w)) + t[4];
        const float b = 6.283f * (float(x) * t[1] / float(w) + float(y) * t[3] / float(h)) + t[5];
        sum += fsin(a) + fsin(b);
      }
      const float v = sum / float(2 * waves);
      const Rgba& base = v > 0.0f ? positive : negative;
      const float s = float(std::sin(3.14 * std::fabs(double(v))));
      Rgba& p = out[size_t(y) * size_t(w) + size_t(x)];
      for (int k = 0; k < 4; ++k) p.c[k] = base.c[k] * s;
    }
  return out;
}

// Sum weights, wrap-around, as the toolkit's sampler is specified.
inline Rgba sample(const Picture& in, int w, int h, float x, float y) {
  const int ix = int(x), iy = int(y);
  const float fx = x - float(ix), fy = y - float(iy);
  const int c0 = int(uint32_t(ix) % uint32_t(w)), c1 = (c0 + 1) % w;
  const int r0 = int(uint32_t(iy) % uint32_t(h)), r1 = (r0 + 1) % h;
  const float weight[4] = {(2.0f - fx - fy) / 4.0f, (1.0f + fx - fy) / 4.0f,
                           (1.0f - fx + fy) / 4.0f, (fx + fy) / 4.0f};
  const Rgba* p[4] = {&in[size_t(r0 * w + c0)], &in[size_t(r0 * w + c1)],
                      &in[size_t(r1 * w + c0)], &in[size_t(r1 * w + c1)]};
  Rgba out{};
  for (int k = 0; k < 4; ++k)
    out.c[k] = p[0]->c[k] * weight[0] + p[1]->c[k] * weight[1] + p[2]->c[k] * weight[2] +
               p[3]->c[k] * weight[3];
  return out;
}

inline Picture distort(const Picture& picture, const Picture& source, int w, int h, float sx,
                       float sy, float frequency) {
  Picture out(picture.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Rgba& s = source[size_t(y * w + x)];
      const float d = fsin((s.c[2] + s.c[1] + s.c[0]) * frequency * 50.0f);
      out[size_t(y * w + x)] = sample(picture, w, h, d * sx * 100000.0f / float(w) + float(x),
                                      d * sy * 100000.0f / float(h) + float(y));
    }
  return out;
}

// Bytes red, green, blue, alpha per pixel.
inline std::vector<uint8_t> pack(const Picture& picture) {
  std::vector<uint8_t> bytes;
  bytes.reserve(picture.size() * 4);
  for (const Rgba& p : picture)
    for (float v : p.c) {
      const float clamped = v > 1.0f ? 1.0f : (v > 0.0f ? v : 0.0f);
      bytes.push_back(uint8_t(clamped * 255.0f));
    }
  return bytes;
}

struct PlasmaParameters {
  Rgba positive, negative;
  uint32_t seed;
  int waves, rangeX, rangeY;
  Rgba radialFirst, radialSecond;
  float radialExponent, strengthX, strengthY, frequency;
};

inline std::vector<uint8_t> plasmaTexture(int size, const PlasmaParameters& p) {
  const Picture bent = radial(size, size, p.radialFirst, p.radialSecond, p.radialExponent);
  const Picture waves =
      plasma(size, size, p.positive, p.negative, p.seed, p.waves, p.rangeX, p.rangeY);
  return pack(distort(bent, waves, size, size, p.strengthX, p.strengthY, p.frequency));
}

inline std::vector<uint8_t> radialTexture(int size, Rgba first, Rgba second, float exponent) {
  return pack(radial(size, size, first, second, exponent));
}

// The largest difference between two byte arrays of the same length.
inline int maxDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  if (a.size() != b.size()) return 256;
  int worst = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const int d = std::abs(int(a[i]) - int(b[i]));
    worst = d > worst ? d : worst;
  }
  return worst;
}

}  // namespace reference
