// Writes 16-bit stereo 44100 Hz PCM WAV files: how the offline renderer hands
// a song to people and tools without a sound card.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes the blocks (framesPerBlock interleaved stereo frames each) in order.
// On failure returns false with the reason in error.
bool writeWavFile(const std::string& path, const std::vector<int16_t*>& blocks,
                  uint32_t framesPerBlock, std::string& error);
