// The high-resolution performance counter and the thread sleep.
#pragma once

#include <cstdint>

namespace platform {

// Counter ticks since an arbitrary origin, monotonic.
int64_t performanceCounter();
// Counter ticks per second.
int64_t performanceFrequency();
// Suspends the calling thread for about this many milliseconds.
void sleepMilliseconds(unsigned milliseconds);
// Runs the calling thread ahead of ordinary ones (the sound's streaming
// thread); quietly does nothing where the system refuses.
void raiseThreadPriority();

}  // namespace platform
