// Picture generator: a picture being composed, in premultiplied float RGBA,
// row 0 at the top (the way a designer thinks of it; the TGA writer stores
// it bottom-up). Designs fill it pixel by pixel or lay coloured Planes on it.
#pragma once

#include <cstddef>
#include <vector>

#include "Plane.h"
#include "Rgba.h"

namespace picgen {

class Picture {
 public:
  Picture(int width, int height, Rgba fill = Rgba(0, 0, 0, 0));

  int width() const { return width_; }
  int height() const { return height_; }
  Rgba& at(int x, int y) { return pixels_[size_t(y) * size_t(width_) + size_t(x)]; }
  const Rgba& at(int x, int y) const { return pixels_[size_t(y) * size_t(width_) + size_t(x)]; }

  // Lays a straight colour over the picture wherever the mask covers it.
  void paint(const Plane& mask, const Rgba& colour, float strength = 1.0f);
  // Adds light (colour times mask) without touching alpha: glows on opaque
  // pictures and everything on additive ones.
  void addLight(const Plane& mask, const Rgba& colour, float strength = 1.0f);
  // Premultiplied "over" of a whole picture of the same size.
  void composite(const Picture& top);
  void mirrorX();
  // Alpha of every pixel, as a Plane.
  Plane alpha() const;
  // Forces alpha to 1 (colour stays): for opaque and additive pictures.
  void makeOpaque();

 private:
  int width_;
  int height_;
  std::vector<Rgba> pixels_;
};

}  // namespace picgen
