// Arbitrary text through the song compiler.
#include "FuzzInputs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  runSongSource(data, size);
  return 0;
}
