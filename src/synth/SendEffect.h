// An effect of a send bus (delay, chorus, and the chain that holds them): it
// reads a stereo input and adds its output into a stereo output.
#pragma once

#include <memory>

#include "synth/ModuleKind.h"
#include "synth/SynthModule.h"

class SendEffect : public SynthModule {
 public:
  using SynthModule::SynthModule;
  // Reads blockSize frames of the inputs and adds into the outputs; the
  // inputs may be the outputs (processing in place).
  virtual void process(const float* inLeft, const float* inRight, float* outLeft,
                       float* outRight) = 0;
  virtual void setBlockSize(int n) { blockSize = n; }
  // Recomputes what derives from the parameters.
  virtual void update() {}

  int32_t blockSize = 1;
};

// The send effect kinds a chain's slot holds: delay, chorus.
ModuleKinds<SendEffect> sendEffectKinds();
