#include "synth/SynthScratch.h"

void SynthScratch::resize(int n) {
  const size_t size = n > 0 ? size_t(n) : 1;
  for (auto* buffer : {&channelMix, &voiceMain, &voiceAux, &oscWork, &wrapBuffer})
    buffer->assign(size, 0.0f);
  voiceRows.assign(size * (kVoiceRows + 1), 0.0f);
}

void SynthScratch::ensureSize(int n) {
  if (channelMix.size() != (n > 0 ? size_t(n) : 1)) resize(n);
}
