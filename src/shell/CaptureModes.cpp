#include <cstdio>

#include "shell/Modes.h"

static int notYet() {
  std::fprintf(stderr, "kylvander: this mode is not built yet\n");
  return 1;
}
int runCapture(const Options&) { return notYet(); }
int runScreenshot(const Options&) { return notYet(); }
int runBenchmark(const Options&) { return notYet(); }
