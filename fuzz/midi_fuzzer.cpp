// Arbitrary bytes as a MIDI file through the song compiler's reader and
// importer.
#include "FuzzInputs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  runMidiFile(data, size);
  return 0;
}
