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

}  // namespace base
