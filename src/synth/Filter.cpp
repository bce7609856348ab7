#include "synth/Filter.h"

#include "synth/DataStream.h"

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

void saveRoute(DataStream& stream, const ModulationRoute& route) {
  stream.writeInt(route.source, 1);
  stream.writeFloat(route.depth);
}

void loadRoute(DataStream& stream, ModulationRoute& route) {
  route.source = stream.readByte();
  route.depth = stream.readFloat();
}

}  // namespace

void Filter::save(DataStream& stream) {
  stream.writeInt(type, 1);
  stream.writeInt(uint32_t(mode), 1);
  stream.writeInt(singleStage ? 1 : 0, 1);
  stream.writeFloat(cutoff);
  stream.writeFloat(resonance);
  stream.writeFloat(inputGain);
  saveRoute(stream, primary);
  saveRoute(stream, additive);
  saveRoute(stream, scaling);
}

void Filter::load(DataStream& stream) {
  mode = stream.readByte();
  singleStage = stream.readByte() == 1;
  cutoff = stream.readFloat();
  resonance = stream.readFloat();
  inputGain = stream.readFloat();
  loadRoute(stream, primary);
  loadRoute(stream, additive);
  loadRoute(stream, scaling);
}

void Filter::copyParametersFrom(const VoiceEffect& other) {
  const auto& o = static_cast<const Filter&>(other);
  mode = o.mode;
  singleStage = o.singleStage;
  cutoff = o.cutoff;
  resonance = o.resonance;
  inputGain = o.inputGain;
  primary = o.primary;
  additive = o.additive;
  scaling = o.scaling;
}

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
