#include "shell/ShellError.h"

#include <cstdio>

int reportShellErrors(const std::function<int()>& mode) {
  try {
    return mode();
  } catch (const ShellError& e) {
    std::fprintf(stderr, "kylvander: %s\n", e.what());
    return 1;
  }
}
