#include "synth/VoiceEffect.h"

#include "synth/Filter.h"
#include "synth/Waveshaper.h"

std::unique_ptr<VoiceEffect> createVoiceEffect(uint32_t type) {
  switch (type) {
    case moduleType::kFilter: return std::make_unique<Filter>();
    case moduleType::kWaveshaper: return std::make_unique<Waveshaper>();
    default: return nullptr;
  }
}
