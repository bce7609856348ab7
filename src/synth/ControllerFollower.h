// A modulator that follows one controller's value through a one-pole
// smoother, so that sequencer slides and offsets can move a sound.
#pragma once

#include "synth/Parameterized.h"

class ControllerFollower : public Parameterized<ControllerFollower, Modulator> {
 public:
  static constexpr uint32_t kType = moduleType::kControllerFollower;

  void event(int kind, uint32_t value) override;
  void advance() override;

  // Stored.
  float smoothing = 0.01f;
  uint8_t controller = 2;

  // The record: the stored parameters in file order (Parameter.h).
  template <class Visit, class... Self>
  static void describe(Visit&& visit, Self&... follower) {
    visit(param::real("smoothing"), follower.smoothing...);
    visit(param::controller("controller"), follower.controller...);
  }

  // Running state: the last controller value received, 0 to 1.
  float target = 0.0f;
};
