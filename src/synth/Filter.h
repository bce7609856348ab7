// The voice's state-variable filter (low-pass, high-pass, band-pass, notch),
// one stage or two in cascade, its cutoff moved by three modulation routes.
#pragma once

#include <iterator>

#include "synth/Parameterized.h"
#include "synth/VoiceEffect.h"

class Filter : public Parameterized<Filter, VoiceEffect> {
 public:
  static constexpr uint32_t kType = moduleType::kFilter;
  enum Mode : int32_t { kLowPass, kHighPass, kBandPass, kNotch };
  static constexpr const char* kModeNames[] = {"lowpass", "highpass", "bandpass", "notch"};
  static_assert(std::size(kModeNames) == kNotch + 1);

  // One state-variable stage's state.
  struct Stage {
    float low = 0, high = 0, band = 0, notch = 0;
  };

  void process(float* buffer, const ModulatorList& modulators) override;
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

  // The record: the stored parameters in file order (Parameter.h).
  template <class Visit, class... Self>
  static void describe(Visit&& visit, Self&... filter) {
    visit(param::choice("mode", kModeNames, 255), filter.mode...);
    visit(param::strictFlag("singleStage"), filter.singleStage...);
    visit(param::real("cutoff"), filter.cutoff...);
    visit(param::real("resonance"), filter.resonance...);
    visit(param::real("inputGain"), filter.inputGain...);
    visit(param::route("primary"), filter.primary...);
    visit(param::route("additive"), filter.additive...);
    visit(param::route("scaling"), filter.scaling...);
  }

  Stage output;  // the only stage, or the second of two
  Stage first;   // the first of two stages
};
