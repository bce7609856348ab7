// A memoryless distortion: hard clip, a tanh-like saturation curve or a sine
// fold. Used as a voice effect and as a channel's insert.
#pragma once

#include "synth/VoiceEffect.h"

class Waveshaper : public VoiceEffect {
 public:
  enum Mode : int32_t { kClip, kSaturate, kSineFold };

  Waveshaper() : VoiceEffect(moduleType::kWaveshaper) {}
  void save(DataStream& stream) override;
  void load(DataStream& stream) override;
  void process(float* buffer, const ModulatorList& modulators) override;
  void copyParametersFrom(const VoiceEffect& other) override;
  // The insert needs no modulators.
  void process(float* buffer);

  float drive = 1.0f;
  float level = 1.0f;
  int32_t mode = kClip;  // other values pass the signal unchanged
};
