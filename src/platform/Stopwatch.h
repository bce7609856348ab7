// A stopwatch on the performance counter. The window's frame-rate readout and
// the music system's seconds clock both run on one of these.
#pragma once

#include <cstdint>

#include "platform/Clock.h"

class Stopwatch {
 public:
  Stopwatch() : frequency_(platform::performanceFrequency()) { reset(); }

  // Records the current count as the start.
  void reset() { start_ = last_ = platform::performanceCounter(); }

  // Reads the counter into the last count; seconds since the start.
  double seconds() {
    last_ = platform::performanceCounter();
    return double(last_ - start_) / double(frequency_);
  }

 private:
  int64_t frequency_;
  int64_t start_ = 0;
  int64_t last_ = 0;
};
