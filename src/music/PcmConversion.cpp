#include "music/PcmConversion.h"

#include <utility>

#include "synth/FloatToInt.h"

int16_t pcmSample(float sample) { return int16_t(truncateToInt(sample * 32767.0f)); }

void convertToPcm(const float* left, const float* right, uint32_t frames, int16_t* out) {
  for (uint32_t i = 0; i < frames; ++i) {
    out[2 * i] = pcmSample(left[i]);
    out[2 * i + 1] = pcmSample(right[i]);
  }
}

uint32_t convertToPcmRegions(const float* left, const float* right, uint32_t frames,
                             void* region1, uint32_t bytes1, void* region2, uint32_t bytes2) {
  uint32_t done = 0;
  for (auto [region, bytes] : {std::pair<void*, uint32_t>{region1, bytes1}, {region2, bytes2}}) {
    if (!region || bytes < 4) continue;
    uint32_t count = bytes / 4;
    if (count > frames - done) count = frames - done;
    convertToPcm(left + done, right + done, count, static_cast<int16_t*>(region));
    done += count;
  }
  return done;
}
