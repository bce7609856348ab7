#include <cstdio>

#include "shell/Modes.h"

int runRenderAudio(const Options&) {
  std::fprintf(stderr, "kylvander: this mode is not built yet\n");
  return 1;
}
