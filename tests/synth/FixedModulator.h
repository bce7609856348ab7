// A modulator whose values the test sets, for modules that read routes:
// `current` at the block's start, `next` at its end.
#pragma once

#include "synth/Modulator.h"

class FixedModulator : public Modulator {
 public:
  FixedModulator(float now, float end) {
    current = now;
    next = end;
  }
  void advance() override {}
};
