// The capture's progress line on standard error: a bar, frames done of all,
// the rate and the time left, redrawn in place a few times a second.
#pragma once

#include <cstdint>

#include "platform/Stopwatch.h"

class FrameProgress {
 public:
  explicit FrameProgress(uint32_t total);
  // After each frame; redraws at most every 0.2 seconds and at the end.
  void update(uint32_t done);
  // Ends the line.
  void finish();

 private:
  void draw(uint32_t done, double elapsed);

  uint32_t total_;
  Stopwatch stopwatch_;
  double lastDrawn_ = -1.0;
};
