// The one sample rate of the show: the synthesizer's pitch and song clock are
// built on it, and the sound output, the WAV writer and the sound device
// play and count at it.
#pragma once

#include <cstdint>

constexpr uint32_t kSampleRate = 44100;
