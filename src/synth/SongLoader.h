// Reads a whole song file image: the synthesizer set-up into a Synth, then
// the song section into a new Song.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "synth/Song.h"

class Synth;

// Why an image was refused.
enum class SongLoadError {
  kNone,
  // The set-up ends early, a count, index or module type in it lies beyond
  // the format's limits, or its layers ask for more voices in all than a load
  // builds (SynthChannel::kMaxLoadedVoices).
  kSetupDamaged,
  // No magic "GOAT" after the set-up.
  kNoMagic,
  // The song section ends early, names a channel or pattern slot beyond the
  // limits, or has a tempo or step length of 0.
  kSongDamaged,
};

// What loading found: the song, or why there is none, and the one problem
// that loading goes on after. Loading shows nothing: the caller tells the
// user (music/SongLoadMessages.h).
struct SongLoadResult {
  std::unique_ptr<Song> song;  // null when the image is refused
  SongLoadError error = SongLoadError::kNone;
  // The set-up did not end in the marker "-SNT"; the magic is looked for
  // where it ended all the same.
  bool endMarkerWrong = false;
};

// Nothing outside image[0 .. size) is read.
SongLoadResult loadSong(Synth& synth, const uint8_t* image, size_t size);
