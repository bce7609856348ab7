#include <SDL.h>

#include "platform/Clock.h"

namespace platform {

int64_t performanceCounter() { return int64_t(SDL_GetPerformanceCounter()); }

int64_t performanceFrequency() { return int64_t(SDL_GetPerformanceFrequency()); }

void sleepMilliseconds(unsigned milliseconds) { SDL_Delay(milliseconds); }

}  // namespace platform
