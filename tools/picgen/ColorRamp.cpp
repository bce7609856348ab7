#include "ColorRamp.h"

namespace picgen {

ColorRamp::ColorRamp(std::initializer_list<Stop> stops) : stops_(stops) {}

Rgba ColorRamp::at(float t) const {
  if (stops_.empty()) return Rgba(0, 0, 0, 0);
  if (t <= stops_.front().position) return stops_.front().colour;
  for (size_t i = 1; i < stops_.size(); ++i) {
    const Stop& b = stops_[i];
    if (t <= b.position) {
      const Stop& a = stops_[i - 1];
      float span = b.position - a.position;
      float k = span > 0.0f ? (t - a.position) / span : 1.0f;
      return mix(a.colour, b.colour, smoothstep(0.0f, 1.0f, k));
    }
  }
  return stops_.back().colour;
}

}  // namespace picgen
