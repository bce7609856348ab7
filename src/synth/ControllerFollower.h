// A modulator that follows one controller's value through a one-pole
// smoother, so that sequencer slides and offsets can move a sound.
#pragma once

#include "synth/Modulator.h"

class ControllerFollower : public Modulator {
 public:
  ControllerFollower() : Modulator(moduleType::kControllerFollower) {}
  void save(DataStream& stream) override;
  void load(DataStream& stream) override;
  void event(int kind, uint32_t value) override;
  void advance() override;
  void copyParametersFrom(const Modulator& other) override;

  // Stored.
  float smoothing = 0.01f;
  uint8_t controller = 2;

  // Running state: the last controller value received, 0 to 1.
  float target = 0.0f;
};
