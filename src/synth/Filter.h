// The voice's state-variable filter (low-pass, high-pass, band-pass, notch),
// one stage or two in cascade, its cutoff moved by three modulation routes.
#pragma once

#include "synth/VoiceEffect.h"

class Filter : public VoiceEffect {
 public:
  enum Mode : int32_t { kLowPass, kHighPass, kBandPass, kNotch };

  // One state-variable stage's state.
  struct Stage {
    float low = 0, high = 0, band = 0, notch = 0;
  };

  Filter() : VoiceEffect(moduleType::kFilter) {}
  void save(DataStream& stream) override;
  void load(DataStream& stream) override;
  void process(float* buffer, const ModulatorList& modulators) override;
  void copyParametersFrom(const VoiceEffect& other) override;
  // The block's frequency coefficient: its value at the first sample and its
  // step per sample, from the routes and the cutoff.
  void cutoffRamp(const ModulatorList& modulators, float& start, float& step) const;

  int32_t mode = kLowPass;
  bool singleStage = true;
  float cutoff = 0.1f;
  float resonance = 0.9f;
  float inputGain = 0.125f;
  ModulationRoute primary{0, 1.0f};
  ModulationRoute additive{0, 0.0f};
  ModulationRoute scaling{2, 1.0f};

  Stage output;  // the only stage, or the second of two
  Stage first;   // the first of two stages
};
