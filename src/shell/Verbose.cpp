#include "shell/Verbose.h"

#include <cstdarg>
#include <cstdio>

namespace {
bool gVerbose = false;
}

void setVerbose(bool on) { gVerbose = on; }

bool verbose() { return gVerbose; }

void verboseLine(const char* format, ...) {
  if (!gVerbose) return;
  std::va_list args;
  va_start(args, format);
  std::vfprintf(stdout, format, args);
  va_end(args);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}
