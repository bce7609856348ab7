#include <SDL.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/Clock.h"

namespace platform {

int64_t performanceCounter() { return int64_t(SDL_GetPerformanceCounter()); }

int64_t performanceFrequency() { return int64_t(SDL_GetPerformanceFrequency()); }

void sleepMilliseconds(unsigned milliseconds) { SDL_Delay(milliseconds); }

void raiseThreadPriority() {
  // A lower nice value for this thread alone; only privileged users get it,
  // and without it the half-second lead still covers a late pass.
  const auto thread = id_t(syscall(SYS_gettid));
  setpriority(PRIO_PROCESS, thread, -10);
}

}  // namespace platform
