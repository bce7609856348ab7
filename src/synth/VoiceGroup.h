// Renders the active voices of a layer in groups, so that their filters can
// run side by side (FilterLanes): first each voice's oscillators into a row of
// its own, then the effects of all, then each voice into the mix in the order
// the voices were added. Oscillators and modulators still run one voice after
// the other, in voice order, since they share the noise counter, the
// oscillators' work buffers and the random sequence.
#pragma once

#include "synth/SynthScratch.h"
#include "synth/Voice.h"

class VoiceGroup {
 public:
  static constexpr int kMaxVoices = SynthScratch::kVoiceRows;

  VoiceGroup(SynthScratch& scratch, float* mix) : scratch_(scratch), mix_(mix) {}
  VoiceGroup(const VoiceGroup&) = delete;
  VoiceGroup& operator=(const VoiceGroup&) = delete;

  // An active voice's next block; the group finishes by itself when full.
  void add(Voice& voice);
  // Runs the effects of the voices gathered and adds them into the mix.
  void finish();

 private:
  void runEffect(size_t index);

  SynthScratch& scratch_;
  float* mix_;
  Voice* voices_[kMaxVoices];
  int count_ = 0;
};
