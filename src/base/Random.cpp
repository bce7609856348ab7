#include "base/Random.h"

namespace base {
namespace {
thread_local uint32_t randState = 1;
}

int rand() {
  randState = randState * 214013u + 2531011u;
  return int((randState >> 16) & 0x7FFF);
}

void srand(uint32_t seed) { randState = seed; }

void swapRandState(uint32_t* state) {
  const uint32_t mine = randState;
  randState = *state;
  *state = mine;
}

}  // namespace base
