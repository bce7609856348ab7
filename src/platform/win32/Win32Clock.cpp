// The performance counter and Sleep.
#include "platform/win32/LeanWindows.h"

#include "platform/Clock.h"

namespace platform {

int64_t performanceCounter() {
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  return count.QuadPart;
}

int64_t performanceFrequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

void sleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

void raiseThreadPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST); }

}  // namespace platform
