// Picture generator: the finishing of set text (and other masks): outlines,
// glows and a bevel, all measured in screen pixels so that they come out
// even on quads that stretch a picture more one way than the other.
#pragma once

#include "Footprint.h"
#include "Plane.h"

namespace picgen {

class Lettering {
 public:
  explicit Lettering(Footprint footprint, Plane::Edge edge = Plane::Edge::Clamp)
      : footprint_(footprint), edge_(edge) {}

  // Blur of `screenPixels` on screen.
  Plane soften(const Plane& mask, float screenPixels) const;
  // The mask grown by about `screenPixels`, with a soft edge.
  Plane grow(const Plane& mask, float screenPixels) const;
  // Light on the mask seen as a rounded relief lit from the upper left:
  // -1 (facing away) to 1 (facing the light), 0 on flat areas.
  Plane bevel(const Plane& mask, float screenPixels) const;

 private:
  Footprint footprint_;
  Plane::Edge edge_;
};

}  // namespace picgen
