// The low-frequency oscillator modulator: six waveforms over `period` steps,
// an offset and a fade-in after each note-on. The random waveforms draw from
// the rendering thread's base::rand().
#pragma once

#include "synth/Modulator.h"

class Lfo : public Modulator {
 public:
  Lfo() : Modulator(moduleType::kLfo) {}
  void save(DataStream& stream) override;
  void load(DataStream& stream) override;
  void event(int kind, uint32_t value) override;
  void advance() override;
  void copyParametersFrom(const Modulator& other) override;

  // Stored.
  uint8_t waveform = 5;  // 0 sine, 1 saw, 2 square, 3 triangle, 4 random, 5 smooth random
  bool spareFlag = true;
  float offset = 0.0f;
  uint8_t fadeSteps = 32;
  bool restartOnNote = true;
  float spareValue = 0.0f;
  uint16_t period = 16;

  // Running state.
  uint32_t phase = 0;
  uint32_t fadeCount = 0;
  float heldValue = 0.0f;
  float fromValue = 0.0f;
  float toValue = 0.0f;

 private:
  float waveAt(uint32_t p, uint32_t P) const;
};
