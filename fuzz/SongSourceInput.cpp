#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzInputs.h"
#include "songc/SongCompiler.h"
#include "synth/SongLoader.h"

bool runSongSource(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CompiledSong compiled;
  try {
    compiled = compileSong(SourceText::fromString("fuzz.song", text));
  } catch (const SourceError&) {
    return false;
  }
  // What a load reads never depends on what the synthesizer held before, so
  // one synthesizer serves every load of the process.
  static Synth synth;
  if (!loadSong(synth, compiled.image.data(), compiled.image.size()).song) {
    std::fprintf(stderr, "compiled song of %zu bytes does not load\n", compiled.image.size());
    std::abort();
  }
  return true;
}
