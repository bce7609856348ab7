#include "synth/Voice.h"

#include "synth/DataStream.h"
#include "synth/Filter.h"
#include "synth/Parameterized.h"
#include "synth/SynthScratch.h"

namespace {
// Every voice's fixed output level: headroom for the voices and channels
// that sound together before the mix is clipped.
constexpr float kVoiceOutputScale = 0.05f;
}  // namespace

Voice::Voice(SynthScratch* scratch) : scratch_(scratch) {
  modulators.push_back(std::make_unique<Envelope>());
  oscillators.push_back(std::make_unique<Oscillator>());
  effects.push_back(std::make_unique<Filter>());
}

Modulator* Voice::addModulator(uint32_t moduleType) {
  auto modulator = modulatorKinds().create(moduleType);
  return modulator ? &adopt(std::move(modulator)) : nullptr;
}

Modulator& Voice::adopt(std::unique_ptr<Modulator> modulator) {
  modulators.push_back(std::move(modulator));
  return *modulators.back();
}

Oscillator& Voice::addOscillator() {
  oscillators.push_back(std::make_unique<Oscillator>());
  return *oscillators.back();
}

VoiceEffect* Voice::addEffect(uint32_t moduleType) {
  auto effect = voiceEffectKinds().create(moduleType);
  return effect ? &adopt(std::move(effect)) : nullptr;
}

VoiceEffect& Voice::adopt(std::unique_ptr<VoiceEffect> effect) {
  effects.push_back(std::move(effect));
  setBlockSize(blockSize);
  return *effects.back();
}

void Voice::setBlockSize(int n) {
  blockSize = n;
  if (scratch_) scratch_->ensureSize(n);
  for (auto& effect : effects) effect->setBlockSize(n);
}

void Voice::event(int kind, uint32_t value) {
  if (kind == eventKind::kNoteOn || kind == eventKind::kNoteOff) {
    const uint32_t note = value & 0xFFFF;
    if (note < keyLow || note > keyHigh) return;
    if (kind == eventKind::kNoteOff) {
      if (int32_t(note) != currentNote) return;
      gate = false;
    } else {
      active = true;
      gate = true;
      currentNote = int32_t(note);
    }
  }
  for (auto& modulator : modulators) modulator->event(kind, value);
  for (auto& oscillator : oscillators) oscillator->event(kind, value);
  for (auto& effect : effects) effect->event(kind, value);
}

void Voice::render(float* mix) {
  if (!renderOscillators(scratch_ ? scratch_->voiceMain.data() : nullptr)) return;
  float* main = scratch_->voiceMain.data();
  for (auto& effect : effects) effect->process(main, modulators);
  addTo(mix, main);
}

bool Voice::renderOscillators(float* main) {
  for (auto& modulator : modulators) modulator->advance();
  const Envelope& env = envelope();
  if (!gate && env.current * env.current == 0.0f) {
    active = false;
    return false;
  }
  if (!scratch_ || !main) return false;
  const int n = blockSize;
  float* aux = scratch_->voiceAux.data();
  oscillators[0]->render(n, main, modulators, false, *scratch_);
  for (size_t k = 1; k < oscillators.size(); ++k) {
    Oscillator& osc = *oscillators[k];
    osc.render(n, aux, modulators, true, *scratch_);
    const float m = osc.mix;
    if (osc.combine == 0) {
      for (int i = 0; i < n; ++i) main[i] = m * aux[i] + (1.0f - m) * main[i];
    } else if (osc.combine == 1) {
      for (int i = 0; i < n; ++i) main[i] = main[i] * (m * aux[i] + 1.0f - m);
    }
  }
  return true;
}

void Voice::addTo(float* mix, const float* main) {
  const int n = blockSize;
  const Envelope& env = envelope();
  ampStart = env.current * env.current;
  ampEnd = env.next * env.next;
  const float step = (ampEnd - ampStart) / float(n);
  float a = ampStart;
  for (int i = 0; i < n; ++i) {
    mix[i] += kVoiceOutputScale * a * main[i];
    a += step;
  }
}

void Voice::copyFrom(const Voice& other) {
  describe(ParameterCopier{}, *this, other);

  // A module of a kind its family does not have (a type changed by hand)
  // ends the copied list there: the copy never holds another kind instead.
  const size_t modulatorCount = other.modulators.size() ? other.modulators.size() : 1;
  modulators.resize(modulatorCount);
  for (size_t k = 0; k < modulatorCount; ++k) {
    const uint32_t kind = k < other.modulators.size() ? other.modulators[k]->type
                                                      : uint32_t(moduleType::kEnvelope);
    if (!modulators[k] || modulators[k]->type != kind)
      modulators[k] = modulatorKinds().create(kind);
    if (!modulators[k]) {
      modulators.resize(k ? k : 1);
      if (!modulators[0]) modulators[0] = std::make_unique<Envelope>();
      break;
    }
    if (k < other.modulators.size()) modulators[k]->copyParametersFrom(*other.modulators[k]);
  }

  const size_t oscillatorCount = other.oscillators.size() ? other.oscillators.size() : 1;
  while (oscillators.size() > oscillatorCount) oscillators.pop_back();
  while (oscillators.size() < oscillatorCount) oscillators.push_back(std::make_unique<Oscillator>());
  for (size_t k = 0; k < other.oscillators.size(); ++k)
    oscillators[k]->copyParametersFrom(*other.oscillators[k]);

  effects.resize(other.effects.size());
  bool created = false;
  for (size_t k = 0; k < effects.size(); ++k) {
    if (!effects[k] || effects[k]->type != other.effects[k]->type) {
      effects[k] = voiceEffectKinds().create(other.effects[k]->type);
      created = true;
    }
    if (!effects[k]) {
      effects.resize(k);
      break;
    }
    effects[k]->copyParametersFrom(*other.effects[k]);
  }
  if (created) setBlockSize(blockSize);
}

void Voice::save(DataStream& stream) {
  describe(ParameterWriter{stream}, *this);
  stream.writeInt(uint32_t(modulators.size()), 1);
  for (auto& modulator : modulators) saveWithType(*modulator, stream);
  stream.writeInt(uint32_t(oscillators.size()), 1);
  for (auto& oscillator : oscillators) oscillator->save(stream);
  stream.writeInt(uint32_t(effects.size()), 1);
  for (auto& effect : effects) saveWithType(*effect, stream);
}

void Voice::load(DataStream& stream) {
  describe(ParameterReader{stream}, *this);

  // The envelope record is always there, even when the count says 0.
  const uint32_t modulatorCount = stream.readByte();
  modulators.resize(1);
  if (!modulators[0] || modulators[0]->type != moduleType::kEnvelope)
    modulators[0] = std::make_unique<Envelope>();
  stream.readByte();  // the envelope's type byte, not needed
  modulators[0]->load(stream);
  for (uint32_t k = 1; k < modulatorCount && !stream.failed(); ++k) {
    auto modulator = modulatorKinds().create(stream.readByte());
    if (!modulator) {
      stream.fail();
      return;
    }
    modulator->load(stream);
    modulators.push_back(std::move(modulator));
  }
  if (stream.failed()) return;

  // Likewise one oscillator record at least.
  const uint32_t oscillatorCount = stream.readByte();
  if (oscillatorCount > uint32_t(kMaxOscillators)) {
    stream.fail();
    return;
  }
  const size_t wanted = oscillatorCount ? oscillatorCount : 1;
  while (oscillators.size() > wanted) oscillators.pop_back();
  while (oscillators.size() < wanted) oscillators.push_back(std::make_unique<Oscillator>());
  for (auto& oscillator : oscillators) {
    if (stream.failed()) return;
    oscillator->load(stream);
  }

  const uint32_t effectCount = stream.readByte();
  if (effectCount > uint32_t(kMaxEffects)) {
    stream.fail();
    return;
  }
  effects.clear();
  for (uint32_t k = 0; k < effectCount && !stream.failed(); ++k) {
    auto effect = voiceEffectKinds().create(stream.readByte());
    if (!effect) {
      stream.fail();
      return;
    }
    effects.push_back(std::move(effect));
    setBlockSize(blockSize);
    effects.back()->load(stream);
  }
}
