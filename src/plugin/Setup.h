// A synthesizer set-up as the plugin plays it: the Synth built from a song
// file (compiled, or a song source compiled here), rendering blocks of one
// tick, with the mixer values the file gave it.
//
// How to use, off the audio thread:
//   SetupResult r = loadSetupFile(path, 0);      // 0: the song's own tick
//   if (!r.setup) report(r.error);
// A set-up is then rendered by one thread at a time (TickStream).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "synth/Synth.h"

struct Setup {
  std::unique_ptr<Synth> synth;
  std::vector<uint8_t> image;  // the song file it was built from
  std::string origin;          // the file, or the built-in song's name
  uint32_t songTickFrames = 0;  // the song's own tick at 44100 Hz
  uint32_t tickFrames = 0;      // the block it renders
  uint8_t speed = 6;            // ticks per row: relates a host's beats to ticks
  // The mixer strips as loaded (MixerStrip's order), which the host's
  // parameters adjust.
  static constexpr int kStripValues = 8;
  float strip[Synth::kChannels][kStripValues] = {};
  // The block buffers and the random generator's state of the thread that
  // renders it, which starts as a new thread's does.
  std::vector<float> left, right, interleaved;
  uint32_t randState = 1;
};

struct SetupResult {
  std::unique_ptr<Setup> setup;
  std::string error;  // why there is none
};

// tickFrames 0: the song's own tick; else the block length to render (held
// to kMinTickFrames .. kMaxTickFrames).
SetupResult loadSetupImage(std::vector<uint8_t> image, const std::string& origin,
                           uint32_t tickFrames);
// A compiled song file (it starts with "+SNT") or a song source.
SetupResult loadSetupFile(const std::string& path, uint32_t tickFrames);
// brumtakt, compiled into the plugin.
SetupResult loadBuiltInSetup(uint32_t tickFrames);

// The tick a host's tempo gives, a row being a sixteenth note: 44100 x 60 /
// (beatsPerMinute x 4 x speed) frames, held to the limits.
uint32_t tickFramesForTempo(double beatsPerMinute, uint8_t speed);

// The chorus needs blocks above 51 frames; a tempo of 1 gives 82687.
constexpr uint32_t kMinTickFrames = 64;
constexpr uint32_t kMaxTickFrames = 82687;
// Larger files are not song files.
constexpr size_t kMaxSetupFileBytes = 64u << 20;
