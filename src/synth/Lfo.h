// The low-frequency oscillator modulator: six waveforms over `period` steps,
// an offset and a fade-in after each note-on. The random waveforms draw from
// the rendering thread's base::rand().
#pragma once

#include "synth/Parameterized.h"

class Lfo : public Parameterized<Lfo, Modulator> {
 public:
  static constexpr uint32_t kType = moduleType::kLfo;
  // The waveforms by number.
  static constexpr const char* kWaveformNames[] = {"sine",     "saw",    "square",
                                                   "triangle", "random", "smooth"};

  void event(int kind, uint32_t value) override;
  void advance() override;

  // Stored.
  uint8_t waveform = 5;  // kWaveformNames; 4 random, 5 smooth random
  bool spareFlag = true;
  float offset = 0.0f;
  uint8_t fadeSteps = 32;
  bool restartOnNote = true;
  float spareValue = 0.0f;
  uint16_t period = 16;

  // The record: the stored parameters in file order (Parameter.h).
  template <class Visit, class... Self>
  static void describe(Visit&& visit, Self&... lfo) {
    visit(param::choice("waveform", kWaveformNames, 5), lfo.waveform...);
    visit(param::flag("spareFlag"), lfo.spareFlag...);
    visit(param::real("offset"), lfo.offset...);
    visit(param::integer("fadeSteps", 0, 255), lfo.fadeSteps...);
    visit(param::flag("restartOnNote"), lfo.restartOnNote...);
    visit(param::real("spareValue"), lfo.spareValue...);
    // Two bytes; a period of 0 would divide by zero.
    visit(param::integer("period", 1, 65535, 2), lfo.period...);
  }

  // Running state.
  uint32_t phase = 0;
  uint32_t fadeCount = 0;
  float heldValue = 0.0f;
  float fromValue = 0.0f;
  float toValue = 0.0f;

 private:
  float waveAt(uint32_t p, uint32_t P) const;
};
