// Picture generator: a colour gradient through evenly spaced or placed stops,
// the main tool for giving noise fields the show's palette.
#pragma once

#include <initializer_list>
#include <vector>

#include "Rgba.h"

namespace picgen {

class ColorRamp {
 public:
  struct Stop {
    float position;
    Rgba colour;
  };

  ColorRamp(std::initializer_list<Stop> stops);
  // Colour at t, clamped to the first and last stops; smooth between stops.
  Rgba at(float t) const;

 private:
  std::vector<Stop> stops_;
};

}  // namespace picgen
