#include "synth/VoiceGroup.h"

#include "synth/FilterLanes.h"

void VoiceGroup::add(Voice& voice) {
  if (!voice.renderOscillators(scratch_.voiceRow(count_))) return;
  voices_[count_++] = &voice;
  if (count_ == kMaxVoices) finish();
}

void VoiceGroup::finish() {
  size_t effects = 0;
  for (int j = 0; j < count_; ++j)
    if (voices_[j]->effects.size() > effects) effects = voices_[j]->effects.size();
  // An effect works on its own voice only, so the order among voices is
  // free; each voice's effects still run in their order.
  for (size_t e = 0; e < effects; ++e) runEffect(e);
  for (int j = 0; j < count_; ++j) voices_[j]->addTo(mix_, scratch_.voiceRow(j));
  count_ = 0;
}

void VoiceGroup::runEffect(size_t index) {
  Filter* filters[kMaxVoices];
  float* buffers[kMaxVoices];
  const ModulatorList* modulators[kMaxVoices];
  int lanes = 0;
  for (int j = 0; j < count_; ++j) {
    Voice& voice = *voices_[j];
    if (index >= voice.effects.size()) continue;
    VoiceEffect& effect = *voice.effects[index];
    if (effect.type == moduleType::kFilter) {
      auto& filter = static_cast<Filter&>(effect);
      if (lanes == 0 || FilterLanes::compatible(*filters[0], filter)) {
        filters[lanes] = &filter;
        buffers[lanes] = scratch_.voiceRow(j);
        modulators[lanes] = &voice.modulators;
        ++lanes;
        continue;
      }
    }
    effect.process(scratch_.voiceRow(j), voice.modulators);
  }
  if (lanes == 1)
    filters[0]->process(buffers[0], *modulators[0]);
  else if (lanes > 1)
    FilterLanes::process(filters, buffers, modulators, lanes, scratch_.voiceRow(kMaxVoices));
}
