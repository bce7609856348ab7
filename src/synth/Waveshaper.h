// A memoryless distortion: hard clip, a tanh-like saturation curve or a sine
// fold. Used as a voice effect and as a channel's insert.
#pragma once

#include <iterator>

#include "synth/Parameterized.h"
#include "synth/VoiceEffect.h"

class Waveshaper : public Parameterized<Waveshaper, VoiceEffect> {
 public:
  static constexpr uint32_t kType = moduleType::kWaveshaper;
  enum Mode : int32_t { kClip, kSaturate, kSineFold };
  static constexpr const char* kModeNames[] = {"clip", "saturate", "fold"};
  static_assert(std::size(kModeNames) == kSineFold + 1);

  void process(float* buffer, const ModulatorList& modulators) override;
  // The insert needs no modulators.
  void process(float* buffer);

  float drive = 1.0f;
  float level = 1.0f;
  int32_t mode = kClip;  // other values pass the signal unchanged

  // The record: the stored parameters in file order (Parameter.h).
  template <class Visit, class... Self>
  static void describe(Visit&& visit, Self&... shaper) {
    visit(param::real("drive"), shaper.drive...);
    visit(param::real("level"), shaper.level...);
    visit(param::choice("mode", kModeNames, 255), shaper.mode...);
  }
};
