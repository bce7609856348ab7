#include "synth/Waveshaper.h"

#include <cmath>
#include "synth/Sine.h"

void Waveshaper::process(float* buffer, const ModulatorList&) { process(buffer); }

void Waveshaper::process(float* buffer) {
  const float d = drive, L = level;
  const int n = blockSize;
  switch (mode) {
    case kClip:
      for (int i = 0; i < n; ++i) {
        float y = L * d * buffer[i];
        if (y > L) y = L;
        if (y < -L) y = -L;
        buffer[i] = y;
      }
      break;
    case kSaturate:
      // A rational curve close to tanh up to |c| of about 3.
      for (int i = 0; i < n; ++i) {
        const float c = d * buffer[i];
        const float c2 = c * c;
        buffer[i] = L * c * (12.0f * c2 + 144.0f) / (c2 * c2 + 60.0f * c2 + 144.0f);
      }
      break;
    case kSineFold:
      for (int i = 0; i < n; ++i) buffer[i] = d * buffer[i];
      roundedSines(buffer, buffer, n);
      for (int i = 0; i < n; ++i) buffer[i] = buffer[i] * L;
      break;
    default:
      break;
  }
}
