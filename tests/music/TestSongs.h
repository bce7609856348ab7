// Small songs for the playback tests: built as objects, so each test states
// the tempo and step length it depends on.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "synth/Song.h"

class Synth;

// Channel 0 plays pattern 1 from the first order step: a note on every
// fourth row, releases between, so the sound changes from tick to tick.
// tempo 100 gives 826 frames per tick; stepLength s gives 16 x s ticks per
// order step.
std::unique_ptr<Song> makeTestSong(uint8_t tempo = 100, uint8_t stepLength = 1);

// The song file image of makeTestSong with a default synthesizer set-up.
std::vector<uint8_t> makeTestSongImage(uint8_t tempo = 100, uint8_t stepLength = 1);
