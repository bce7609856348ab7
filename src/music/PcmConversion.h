// Float mix blocks to 16-bit stereo PCM, the format of the sound buffer, the
// precalculated blocks and WAV files: each sample x 32767 truncated toward
// zero (a NaN or out-of-range value converts as on x86, to 0 after the
// narrowing).
#pragma once

#include <cstdint>

int16_t pcmSample(float sample);

// frames interleaved frames (left, right) into out.
void convertToPcm(const float* left, const float* right, uint32_t frames, int16_t* out);

// Writes the frames into up to two regions of a locked ring buffer: as many
// whole frames as fit into the first, the rest into the second. A region
// shorter than one frame (or null) is skipped. Returns the frames written.
uint32_t convertToPcmRegions(const float* left, const float* right, uint32_t frames,
                             void* region1, uint32_t bytes1, void* region2, uint32_t bytes2);
