// The attack-decay-sustain-release envelope; modulator 0 of every voice is
// one and sets the voice's amplitude. Lengths are in steps (blocks).
#pragma once

#include "synth/Parameterized.h"

class Envelope : public Parameterized<Envelope, Modulator> {
 public:
  static constexpr uint32_t kType = moduleType::kEnvelope;

  void event(int kind, uint32_t value) override;
  void advance() override;

  // Stored.
  uint8_t attack = 1;
  uint8_t decay = 8;
  uint8_t release = 2;
  float sustain = 0.1f;
  float velocitySens = 1.0f;
  bool hold = true;

  // The record: the stored parameters in file order (Parameter.h).
  template <class Visit, class... Self>
  static void describe(Visit&& visit, Self&... envelope) {
    visit(param::integer("attack", 0, 255), envelope.attack...);
    visit(param::integer("decay", 0, 255), envelope.decay...);
    visit(param::integer("release", 0, 255), envelope.release...);
    visit(param::real("sustain"), envelope.sustain...);
    visit(param::real("velocitySens"), envelope.velocitySens...);
    visit(param::flag("hold"), envelope.hold...);
  }

  // Running state.
  float velocity = 0.0f;
  uint32_t step = 0;
  uint32_t releaseStep = 0;
  bool gate = false;
  float releaseLevel = 0.0f;
  float stageLevel = 0.0f;
  float attackStart = 0.0f;
  float lastLevel = 0.0f;

 private:
  float levelAt(uint32_t s) const;
  float velocityFactor() const;
};
