#include "shell/OfflineError.h"

#include <cstdio>

int reportOfflineErrors(const std::function<int()>& mode) {
  try {
    return mode();
  } catch (const OfflineError& e) {
    std::fprintf(stderr, "kylvander: %s\n", e.what());
    return 1;
  }
}
