// The song compiler: turns a readable song source into the song file that
// the show plays ("brumtakt"). The source names every synthesizer module and
// parameter as the file's records do; the compiler builds the set-up as real
// Synth objects, saves it with the synthesizer's own save operation and
// appends the song section (order lists and patterns) written by
// writeSongSection, so that what the show loads is exactly what the
// synthesizer itself would write. docs/song-format.md describes the source.
//
// Source outline (statements one per line, blocks closed by "end"):
//
//   song tempo=68 speed=4 stepLength=16 length=23
//   controller cutoff 16
//   bus 1                     chorus/delay slots of a send bus
//   channel 0 kick volume=2   mixer settings, an optional insert, layers
//     layer voices=2          one voice template: modulators, oscillators,
//       envelope ...          effects, in that order per kind
//   phrase NAME / pattern NAME   rows in tracker notation (PatternRows.h)
//   order kick                 one line per order position of a channel
//
// How to use:
//   CompiledSong out = compileSong(SourceText::fromFile(path));
//   // out.image is the song file; out.synth and out.song what it holds.
// Every mistake throws SourceError naming the file and line.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "songc/SourceText.h"
#include "synth/Song.h"
#include "synth/Synth.h"

struct CompiledSong {
  std::unique_ptr<Synth> synth;
  std::unique_ptr<Song> song;
  std::vector<uint8_t> image;  // set-up section then song section
};

CompiledSong compileSong(const SourceText& source);
