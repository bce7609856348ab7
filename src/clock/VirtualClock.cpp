#include "clock/VirtualClock.h"

VirtualClock::VirtualClock(uint32_t ticksPerStep, int startPosition)
    : ticksPerStep_(ticksPerStep ? ticksPerStep : 1), startPosition_(startPosition) {}

void VirtualClock::set(double seconds, uint32_t heardTicks) {
  seconds_ = seconds;
  heardTicks_ = heardTicks;
}
