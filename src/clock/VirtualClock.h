// A clock that answers from a moment its owner names: offline drawing
// (capture, screenshots, benchmark) and tests set the seconds and the heard
// ticks a live run has at that moment.
#pragma once

#include <cstdint>

#include "clock/ShowClock.h"

class VirtualClock final : public ShowClock {
 public:
  // Song positions count from startPosition, one per ticksPerStep heard
  // ticks (0 counts as 1).
  explicit VirtualClock(uint32_t ticksPerStep = 1, int startPosition = 0);

  void set(double seconds, uint32_t heardTicks);

  double seconds() override { return seconds_; }
  int beat() override { return int(heardTicks_ >> 2); }
  int songPosition() override { return startPosition_ + int(heardTicks_ / ticksPerStep_); }

 private:
  uint32_t ticksPerStep_;
  int startPosition_;
  double seconds_ = 0.0;
  uint32_t heardTicks_ = 0;
};
