// A song source made ready to play: compiled by the song compiler and loaded
// into a new synthesizer by the show's own loader, so it plays exactly as the
// compiled file would.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "synth/Song.h"
#include "synth/Synth.h"

struct LiveSong {
  std::unique_ptr<Synth> synth;
  std::unique_ptr<Song> song;
  uint32_t steps = 0;  // order steps of its longest order list
};

// The source text (named `path` in messages). Throws SourceError for a
// mistake in it ("FILE:LINE:COLUMN: what") and std::runtime_error when the
// compiled song does not load.
std::unique_ptr<LiveSong> buildLiveSong(const std::string& path, const std::string& text);
