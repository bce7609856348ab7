#include "synth/Filter.h"

namespace {

// One state-variable stage, updated in this order.
inline float runStage(Filter::Stage& s, float u, float c, float q, int32_t mode) {
  s.low = s.low + c * s.band;
  s.high = u - s.low - q * s.band;
  s.band = s.band + c * s.high;
  s.notch = s.high + s.low;
  switch (mode) {
    case Filter::kHighPass: return s.high;
    case Filter::kBandPass: return s.band;
    case Filter::kNotch: return s.notch;
    default: return s.low;
  }
}

}  // namespace

void Filter::process(float* buffer, const ModulatorList& modulators) {
  const int n = blockSize;
  float cStart = 0.0f, cEnd = 0.0f;
  if (const Modulator* m = primary.find(modulators); m && primary.depth != 0.0f) {
    cStart = primary.depth * (m->current * m->current);
    cEnd = primary.depth * (m->next * m->next);
    if (const Modulator* sm = scaling.find(modulators); sm && scaling.depth != 0.0f) {
      const float s = scaling.depth;
      cStart *= (1.0f - s) + s * (sm->current * sm->current);
      cEnd *= (1.0f - s) + s * (sm->next * sm->next);
    }
  }
  if (const Modulator* am = additive.find(modulators); am && additive.depth != 0.0f) {
    cStart += additive.depth * (am->current * am->current);
    cEnd += additive.depth * (am->next * am->next);
  }
  cStart += cutoff;
  cEnd += cutoff;
  if (cStart > 1.0f) cStart = 1.0f;
  if (cStart < 0.004f) cStart = 0.004f;
  if (cEnd > 1.0f) cEnd = 1.0f;
  if (cEnd < 0.004f) cEnd = 0.004f;

  const float step = (cEnd - cStart) / float(n);
  const float q = 1.0f - resonance;
  float c = cStart;
  if (singleStage) {
    for (int i = 0; i < n; ++i) {
      buffer[i] = runStage(output, inputGain * buffer[i], c, q, mode);
      c += step;
    }
  } else {
    for (int i = 0; i < n; ++i) {
      const float u = runStage(first, inputGain * buffer[i], c, 1.0f, mode);
      buffer[i] = runStage(output, u, c, q, mode);
      c += step;
    }
  }
}
