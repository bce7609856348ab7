// A small song that uses every module kind and waveform, built as objects and
// written with the real writer: the common input of the round-trip, render
// and fuzz runs.
#pragma once

#include <cstdint>
#include <vector>

#include "synth/Song.h"

class Synth;

// Replaces synth's set-up by the demo set-up.
void buildDemoSetup(Synth& synth);
// The demo song: 4 channels, 3 patterns, 2 ticks-per-step units.
Song buildDemoSong();
// The whole file image of both.
std::vector<uint8_t> demoSongImage();
