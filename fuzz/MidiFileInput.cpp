#include <cstdio>
#include <cstdlib>

#include "FuzzInputs.h"
#include "GuardedImage.h"
#include "songc/MidiImport.h"
#include "songc/SongCompiler.h"
#include "synth/SongLoader.h"
#include "synth/SongWriter.h"

bool runMidiFile(const uint8_t* data, size_t size) {
  const GuardedImage bytes(data, size);
  // One set-up for every input: one bar a step, so that short inputs reach
  // many steps; the widest tolerance takes every event on to the patterns.
  static CompiledSong setup =
      compileSong(SourceText::fromString("fuzz.song", "song tempo=68 speed=4 stepLength=4\n"));
  Song song = *setup.song;
  try {
    importMidi(readMidiFile(bytes.data(), size, "fuzz.mid"), "fuzz.mid", song,
               MidiImportOptions{0.5});
  } catch (const MidiError&) {
    return false;
  }
  const std::vector<uint8_t> image = writeSongFile(*setup.synth, song);
  static Synth loader;
  if (!loadSong(loader, image.data(), image.size()).song) {
    std::fprintf(stderr, "the song compiled from the MIDI file does not load\n");
    std::abort();
  }
  return true;
}
