// Picture generator: how a scene stretches a picture over the screen, as
// screen pixels per texel across and down. Designs use it to pre-distort
// text and round shapes so that they look right on the 640 x 480 screen.
#pragma once

namespace picgen {

struct Footprint {
  float pixelsX;  // screen pixels per texel, across
  float pixelsY;  // and down
  // Horizontal scale that makes shapes look round on screen.
  float squeeze() const { return pixelsY / pixelsX; }
};

}  // namespace picgen
