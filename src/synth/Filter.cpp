#include "synth/Filter.h"

#include "synth/FilterStage.h"

namespace {

// The state lives in a local copy while a block runs, so that it stays in
// registers.
template <int32_t Mode>
void runSingle(Filter::Stage& stage, float* buffer, int n, float gain, float c, float step,
               float q) {
  Filter::Stage s = stage;
  for (int i = 0; i < n; ++i) {
    buffer[i] = runFilterStage<Mode>(s, gain * buffer[i], c, q);
    c += step;
  }
  stage = s;
}

// The first stage has damping 1 whatever the resonance.
template <int32_t Mode>
void runDouble(Filter::Stage& firstStage, Filter::Stage& outputStage, float* buffer, int n,
               float gain, float c, float step, float q) {
  Filter::Stage a = firstStage, b = outputStage;
  for (int i = 0; i < n; ++i) {
    const float u = runFilterStage<Mode>(a, gain * buffer[i], c, 1.0f);
    buffer[i] = runFilterStage<Mode>(b, u, c, q);
    c += step;
  }
  firstStage = a;
  outputStage = b;
}

template <int32_t Mode>
void run(Filter& f, float* buffer, int n, float c, float step, float q) {
  if (f.singleStage)
    runSingle<Mode>(f.output, buffer, n, f.inputGain, c, step, q);
  else
    runDouble<Mode>(f.first, f.output, buffer, n, f.inputGain, c, step, q);
}

}  // namespace

void Filter::cutoffRamp(const ModulatorList& modulators, float& start, float& step) const {
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
  start = cStart;
  step = (cEnd - cStart) / float(blockSize);
}

void Filter::process(float* buffer, const ModulatorList& modulators) {
  const int n = blockSize;
  float cStart, step;
  cutoffRamp(modulators, cStart, step);
  const float q = 1.0f - resonance;
  switch (mode) {
    case kHighPass: run<kHighPass>(*this, buffer, n, cStart, step, q); break;
    case kBandPass: run<kBandPass>(*this, buffer, n, cStart, step, q); break;
    case kNotch: run<kNotch>(*this, buffer, n, cStart, step, q); break;
    default: run<kLowPass>(*this, buffer, n, cStart, step, q); break;
  }
}
