// Hostile picture files through the TGA decoder.
#include "FuzzInputs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  runTgaFile(data, size);
  return 0;
}
