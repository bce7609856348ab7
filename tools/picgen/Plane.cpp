#include "Plane.h"

#include <algorithm>
#include <cmath>

namespace picgen {
namespace {

int wrapIndex(int i, int n) {
  int m = i % n;
  return m < 0 ? m + n : m;
}

int edgeIndex(int i, int n, Plane::Edge edge) {
  return edge == Plane::Edge::Wrap ? wrapIndex(i, n) : std::min(n - 1, std::max(0, i));
}

// Three box passes of radius r approximate a Gaussian of sigma sqrt(r(r+1)),
// about r; fractional radii are truncated, which is fine for soft glows.
int passRadius(float radius) { return std::max(0, int(radius)); }

}  // namespace

Plane::Plane(int width, int height, float value)
    : width_(width), height_(height), values_(size_t(width) * size_t(height), value) {}

float Plane::get(int x, int y, Edge edge) const {
  return at(edgeIndex(x, width_, edge), edgeIndex(y, height_, edge));
}

float Plane::sample(float x, float y, Edge edge) const {
  float fx = x - 0.5f;
  float fy = y - 0.5f;
  float x0f = std::floor(fx);
  float y0f = std::floor(fy);
  int x0 = int(x0f);
  int y0 = int(y0f);
  float tx = fx - x0f;
  float ty = fy - y0f;
  float top = get(x0, y0, edge) * (1.0f - tx) + get(x0 + 1, y0, edge) * tx;
  float bottom = get(x0, y0 + 1, edge) * (1.0f - tx) + get(x0 + 1, y0 + 1, edge) * tx;
  return top * (1.0f - ty) + bottom * ty;
}

void Plane::boxPassX(std::vector<float>& out, const std::vector<float>& in, int radius,
                     Edge edge) const {
  float norm = 1.0f / float(2 * radius + 1);
  for (int y = 0; y < height_; ++y) {
    const float* row = &in[size_t(y) * size_t(width_)];
    float* dst = &out[size_t(y) * size_t(width_)];
    // A running sum in double keeps long rows free of drift.
    double sum = 0.0;
    for (int k = -radius; k <= radius; ++k) sum += row[edgeIndex(k, width_, edge)];
    for (int x = 0; x < width_; ++x) {
      dst[x] = float(sum) * norm;
      sum += row[edgeIndex(x + radius + 1, width_, edge)];
      sum -= row[edgeIndex(x - radius, width_, edge)];
    }
  }
}

void Plane::boxPassY(std::vector<float>& out, const std::vector<float>& in, int radius,
                     Edge edge) const {
  float norm = 1.0f / float(2 * radius + 1);
  for (int x = 0; x < width_; ++x) {
    double sum = 0.0;
    for (int k = -radius; k <= radius; ++k)
      sum += in[size_t(edgeIndex(k, height_, edge)) * size_t(width_) + size_t(x)];
    for (int y = 0; y < height_; ++y) {
      out[size_t(y) * size_t(width_) + size_t(x)] = float(sum) * norm;
      sum += in[size_t(edgeIndex(y + radius + 1, height_, edge)) * size_t(width_) + size_t(x)];
      sum -= in[size_t(edgeIndex(y - radius, height_, edge)) * size_t(width_) + size_t(x)];
    }
  }
}

Plane Plane::blurred(float radius, Edge edge) const { return blurred(radius, radius, edge); }

Plane Plane::blurred(float radiusX, float radiusY, Edge edge) const {
  Plane result(*this);
  int rx = passRadius(radiusX);
  int ry = passRadius(radiusY);
  std::vector<float> tmp(values_.size());
  for (int pass = 0; pass < 3; ++pass) {
    if (rx > 0) {
      boxPassX(tmp, result.values_, rx, edge);
      result.values_.swap(tmp);
    }
    if (ry > 0) {
      boxPassY(tmp, result.values_, ry, edge);
      result.values_.swap(tmp);
    }
  }
  return result;
}

Plane Plane::blurredX(float radius, Edge edge) const {
  Plane result(*this);
  int r = passRadius(radius);
  if (r == 0) return result;
  std::vector<float> tmp(values_.size());
  for (int pass = 0; pass < 3; ++pass) {
    boxPassX(tmp, result.values_, r, edge);
    result.values_.swap(tmp);
  }
  return result;
}

Plane Plane::mirroredX() const {
  Plane result(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) result.at(x, y) = at(width_ - 1 - x, y);
  return result;
}

void Plane::stampMax(const Plane& src, int x0, int y0) {
  for (int y = 0; y < src.height_; ++y) {
    int ty = y0 + y;
    if (ty < 0 || ty >= height_) continue;
    for (int x = 0; x < src.width_; ++x) {
      int tx = x0 + x;
      if (tx < 0 || tx >= width_) continue;
      float& d = at(tx, ty);
      d = std::max(d, src.at(x, y));
    }
  }
}

void Plane::scale(float s) {
  for (float& v : values_) v *= s;
}

float Plane::maxValue() const {
  float m = 0.0f;
  for (float v : values_) m = std::max(m, v);
  return m;
}

}  // namespace picgen
