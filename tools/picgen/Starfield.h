// Picture generator: scatters stars over a picture as added light, one
// candidate per cell of a grid so that they spread evenly without clumping;
// stars that cross an edge wrap around, so tiling pictures stay seamless.
#pragma once

#include <cstdint>

#include "Picture.h"

namespace picgen {

struct StarfieldStyle {
  uint32_t seed = 1;
  int cellsX = 32;          // grid over the whole picture
  int cellsY = 32;
  float density = 0.6f;     // chance that a cell holds a star
  float brightness = 1.0f;  // of the brightest stars
  float squeeze = 1.0f;     // horizontal scale, so stars look round on screen
  float glints = 0.0f;      // strength of the cross-shaped glints of bright stars
};

void addStars(Picture& picture, const StarfieldStyle& style);

}  // namespace picgen
