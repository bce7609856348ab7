// Picture generator: a single channel of floats (a coverage mask, a height
// field, a light level). Text, silhouettes and line work are drawn into
// Planes first, then blurred, combined and coloured into Pictures.
#pragma once

#include <cstddef>
#include <vector>

namespace picgen {

class Plane {
 public:
  // How blurs and samples treat the border: Wrap for tiling textures.
  enum class Edge { Clamp, Wrap };

  Plane(int width, int height, float value = 0.0f);

  int width() const { return width_; }
  int height() const { return height_; }
  float& at(int x, int y) { return values_[size_t(y) * size_t(width_) + size_t(x)]; }
  float at(int x, int y) const { return values_[size_t(y) * size_t(width_) + size_t(x)]; }
  // Clamped or wrapped lookup for coordinates that may lie outside.
  float get(int x, int y, Edge edge = Edge::Clamp) const;
  // Bilinear sample at pixel-centre coordinates (0.5, 0.5 is the first pixel).
  float sample(float x, float y, Edge edge = Edge::Clamp) const;

  // Gaussian-like blur of about `radius` pixels sigma (three box passes).
  Plane blurred(float radius, Edge edge = Edge::Clamp) const;
  // The same with different reach across and down, for pictures that the
  // show stretches more one way than the other.
  Plane blurred(float radiusX, float radiusY, Edge edge) const;
  // Blur along x only (text band-limiting before a loader decimates).
  Plane blurredX(float radius, Edge edge = Edge::Clamp) const;
  Plane mirroredX() const;
  // Places `src` with its top-left pixel at (x, y), keeping the larger value.
  void stampMax(const Plane& src, int x, int y);
  void scale(float s);
  float maxValue() const;

 private:
  void boxPassX(std::vector<float>& out, const std::vector<float>& in, int radius,
                Edge edge) const;
  void boxPassY(std::vector<float>& out, const std::vector<float>& in, int radius,
                Edge edge) const;

  int width_;
  int height_;
  std::vector<float> values_;
};

}  // namespace picgen
