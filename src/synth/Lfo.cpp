#include "synth/Lfo.h"

#include <cmath>

#include "base/Random.h"
#include "synth/Sine.h"

static float drawRandom() { return float(base::rand() * 2) / 32767.0f - 1.0f; }

float Lfo::waveAt(uint32_t p, uint32_t P) const {
  switch (waveform) {
    case 0: return roundedSine(float(p) * 6.29184f / float(P));
    case 1: return float(2 * p) / float(P) - 1.0f;
    case 2: return p > P / 2 ? 1.0f : -1.0f;
    case 3: {
      const uint32_t h = P / 2;
      if (p < h) return float(4 * p) / float(P) - 1.0f;
      return 1.0f - float(4 * (p - h)) / float(P);
    }
    case 4: return heldValue;
    case 5: {
      const float x = float(p) / float(P);
      return (1.0f - x) * fromValue + x * toValue;
    }
    default: return 0.0f;
  }
}

void Lfo::advance() {
  // A period of 0 would divide by zero: it counts as one step.
  const uint32_t P = period ? period : 1;
  if (phase >= P) phase = 0;
  const uint32_t p = phase;
  if (p == 0) {
    if (waveform == 4) {
      heldValue = drawRandom();
    } else if (waveform == 5) {
      fromValue = toValue;
      toValue = drawRandom();
    }
  }
  float c = waveAt(p, P);
  float n = waveform == 2 ? c : waveAt(p + 1, P);
  c += offset;
  n += offset;
  if (fadeCount < fadeSteps) {
    const float fade = float(fadeCount) / float(fadeSteps);
    c *= fade;
    n *= fade;
  }
  current = c;
  next = n;
  ++phase;
  ++fadeCount;
  if (phase >= P) phase = 0;
}

void Lfo::event(int kind, uint32_t) {
  if (kind != eventKind::kNoteOn) return;
  fadeCount = 0;
  if (restartOnNote) phase = 0;
}
