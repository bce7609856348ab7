// Hostile song images: the loader must refuse or accept each without reading
// outside it. Loading is cheap and rendering is not (under the fuzzer's
// instrumentation every comparison of the per-sample loops is a call), so
// every input is loaded and one loading input in kPlayOneIn, chosen by its
// bytes (the same input always gets the same treatment), is also played.
#include "FuzzInputs.h"

namespace {
constexpr uint32_t kPlayOneIn = 64;

uint32_t fnv1a(const uint8_t* data, size_t size) {
  uint32_t hash = 2166136261u;
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
  return hash;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  runSongImage(data, size, fnv1a(data, size) % kPlayOneIn == 0);
  return 0;
}
