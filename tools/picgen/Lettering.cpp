#include "Lettering.h"

#include <algorithm>

#include "Rgba.h"

namespace picgen {

Plane Lettering::soften(const Plane& mask, float screenPixels) const {
  return mask.blurred(screenPixels / footprint_.pixelsX, screenPixels / footprint_.pixelsY, edge_);
}

Plane Lettering::grow(const Plane& mask, float screenPixels) const {
  Plane g = soften(mask, screenPixels * 0.6f);
  for (int y = 0; y < g.height(); ++y)
    for (int x = 0; x < g.width(); ++x) g.at(x, y) = std::max(mask.at(x, y), clamp01(g.at(x, y) * 3.0f));
  return g;
}

Plane Lettering::bevel(const Plane& mask, float screenPixels) const {
  Plane relief = soften(mask, screenPixels);
  Plane light(mask.width(), mask.height());
  // Gradient in screen pixels, lit from the upper left.
  float kx = 1.0f / footprint_.pixelsX, ky = 1.0f / footprint_.pixelsY;
  for (int y = 0; y < mask.height(); ++y)
    for (int x = 0; x < mask.width(); ++x) {
      float gx = (relief.get(x + 1, y, edge_) - relief.get(x - 1, y, edge_)) * 0.5f * kx;
      float gy = (relief.get(x, y + 1, edge_) - relief.get(x, y - 1, edge_)) * 0.5f * ky;
      float l = (gx * 0.6f + gy * 0.8f) * screenPixels * 2.2f;
      light.at(x, y) = std::max(-1.0f, std::min(1.0f, l));
    }
  return light;
}

}  // namespace picgen
