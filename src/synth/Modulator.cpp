#include "synth/Modulator.h"

#include "synth/ControllerFollower.h"
#include "synth/Envelope.h"
#include "synth/Lfo.h"

std::unique_ptr<Modulator> createModulator(uint32_t type) {
  switch (type) {
    case moduleType::kEnvelope: return std::make_unique<Envelope>();
    case moduleType::kLfo: return std::make_unique<Lfo>();
    case moduleType::kControllerFollower: return std::make_unique<ControllerFollower>();
    default: return nullptr;
  }
}
