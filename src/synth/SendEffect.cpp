#include "synth/SendEffect.h"

#include "synth/Chorus.h"
#include "synth/Delay.h"

std::unique_ptr<SendEffect> createSendEffect(uint32_t type) {
  switch (type) {
    case moduleType::kDelay: return std::make_unique<Delay>();
    case moduleType::kChorus: return std::make_unique<Chorus>();
    default: return nullptr;
  }
}
