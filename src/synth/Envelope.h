// The attack-decay-sustain-release envelope; modulator 0 of every voice is
// one and sets the voice's amplitude. Lengths are in steps (blocks).
#pragma once

#include "synth/Modulator.h"

class Envelope : public Modulator {
 public:
  Envelope() : Modulator(moduleType::kEnvelope) {}
  void save(DataStream& stream) override;
  void load(DataStream& stream) override;
  void event(int kind, uint32_t value) override;
  void advance() override;
  void copyParametersFrom(const Modulator& other) override;

  // Stored.
  uint8_t attack = 1;
  uint8_t decay = 8;
  uint8_t release = 2;
  float sustain = 0.1f;
  float velocitySens = 1.0f;
  bool hold = true;

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
