#include <emscripten.h>

#include "platform/Clock.h"
#include "platform/web/WebPage.h"

namespace platform {

// Microseconds of the page's monotonic clock.
int64_t performanceCounter() { return int64_t(emscripten_get_now() * 1000.0); }

int64_t performanceFrequency() { return 1000000; }

// A page must not block: the wait is left to the frame loop, which draws no
// frame before it is over (the sound streams on meanwhile).
void sleepMilliseconds(unsigned milliseconds) {
  web::delayFramesUntil(performanceCounter() + int64_t(milliseconds) * 1000);
}

void raiseThreadPriority() {}

}  // namespace platform
