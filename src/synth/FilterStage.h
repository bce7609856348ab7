// One state-variable stage's update, shared by the filter's single-lane code
// (floats) and its lanes (vectors of floats): low, high, band and notch in
// this order, the output chosen by Mode (any other value than the four
// gives low).
#pragma once

#include <cstdint>

#include "synth/Filter.h"

template <int32_t Mode, typename Stage, typename T>
inline T runFilterStage(Stage& s, T u, T c, T q) {
  s.low = s.low + c * s.band;
  s.high = u - s.low - q * s.band;
  s.band = s.band + c * s.high;
  s.notch = s.high + s.low;
  switch (Mode) {
    case Filter::kHighPass: return s.high;
    case Filter::kBandPass: return s.band;
    case Filter::kNotch: return s.notch;
    default: return s.low;
  }
}
