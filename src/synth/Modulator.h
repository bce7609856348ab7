// A control-rate source of a voice (envelope, LFO, controller follower). It
// advances one step per rendered block and offers its value at the block's
// start (`current`) and end (`next`); consumers interpolate between them and
// always use the square of the values.
#pragma once

#include <memory>
#include <vector>

#include "synth/ModuleKind.h"
#include "synth/SynthModule.h"

class Modulator : public SynthModule {
 public:
  using SynthModule::SynthModule;
  // One step.
  virtual void advance() = 0;

  float current = 0.0f;
  float next = 0.0f;
};

using ModulatorList = std::vector<std::unique_ptr<Modulator>>;

// A modulation input of an oscillator or filter: the index of a modulator of
// the voice and a depth. An index beyond the voice's list names no modulator
// and contributes nothing.
struct ModulationRoute {
  uint8_t source = 0;
  float depth = 0.0f;

  // The modulator named, or null.
  const Modulator* find(const ModulatorList& modulators) const {
    return source < modulators.size() ? modulators[source].get() : nullptr;
  }
};

// The modulator kinds: envelope, LFO, controller follower.
ModuleKinds<Modulator> modulatorKinds();
