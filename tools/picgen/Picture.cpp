#include "Picture.h"

#include <utility>

namespace picgen {

Picture::Picture(int width, int height, Rgba fill)
    : width_(width), height_(height), pixels_(size_t(width) * size_t(height), fill) {}

void Picture::paint(const Plane& mask, const Rgba& colour, float strength) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      float c = mask.at(x, y) * strength;
      if (c <= 0.0f) continue;
      Rgba& d = at(x, y);
      d = over(colour.premultiplied(clamp01(c)), d);
    }
}

void Picture::addLight(const Plane& mask, const Rgba& colour, float strength) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      float c = mask.at(x, y) * strength;
      Rgba& d = at(x, y);
      d.r += colour.r * c;
      d.g += colour.g * c;
      d.b += colour.b * c;
    }
}

void Picture::composite(const Picture& top) {
  for (size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = over(top.pixels_[i], pixels_[i]);
}

void Picture::mirrorX() {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_ / 2; ++x) std::swap(at(x, y), at(width_ - 1 - x, y));
}

Plane Picture::alpha() const {
  Plane result(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) result.at(x, y) = at(x, y).a;
  return result;
}

void Picture::makeOpaque() {
  for (Rgba& p : pixels_) p.a = 1.0f;
}

}  // namespace picgen
