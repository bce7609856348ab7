// An effect inside a voice (filter, waveshaper), transforming the voice's
// mono signal in place after the oscillators.
#pragma once

#include <memory>

#include "synth/Modulator.h"

class VoiceEffect : public SynthModule {
 public:
  using SynthModule::SynthModule;
  // Transforms blockSize samples in place; modulators are the voice's.
  virtual void process(float* buffer, const ModulatorList& modulators) = 0;
  virtual void setBlockSize(int n) { blockSize = n; }

  int32_t blockSize = 1;
};

// The voice effect kinds: filter, waveshaper.
ModuleKinds<VoiceEffect> voiceEffectKinds();
