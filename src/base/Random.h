// The runtime's pseudo-random generator, made ours so that every platform
// draws the same sequence: pictures and LFO waveforms depend on it.
//
// Each thread has its own state, starting at 1, so the frame loop's draws on
// the main thread and the synthesizer's on the streaming thread never
// disturb each other.
#pragma once

#include <cstdint>

namespace base {

constexpr int kRandMax = 0x7FFF;

// state = state * 214013 + 2531011; returns (state >> 16) & 0x7FFF.
int rand();
// Sets the calling thread's state.
void srand(uint32_t seed);
// Exchanges the calling thread's state with *state: work that draws on
// whatever thread calls it (the plugin's set-up, run by a host's audio
// threads) swaps its own state in before it runs and out after.
void swapRandState(uint32_t* state);

}  // namespace base
