// One voice of a layer: a small modular instrument made of modulators (the
// first always the amplitude envelope), oscillators and voice effects. It
// sounds from a note-on in its key range until its envelope has died out
// after the note-off.
#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

#include "synth/Envelope.h"
#include "synth/Modulator.h"
#include "synth/Oscillator.h"
#include "synth/Parameter.h"
#include "synth/VoiceEffect.h"

struct SynthScratch;

class Voice : public SynthModule {
 public:
  static constexpr int kMaxModulators = 255;
  static constexpr int kMaxOscillators = 32;
  static constexpr int kMaxEffects = 8;

  // scratch: the work buffers of the owning Synth (may be null for a voice
  // that is only built and saved, never rendered).
  explicit Voice(SynthScratch* scratch = nullptr);
  void save(DataStream& stream) override;
  void load(DataStream& stream) override;
  void event(int kind, uint32_t value) override;

  // Adds into mix blockSize samples of this (active) voice.
  void render(float* mix);
  // render in three steps, so that a channel can run the effects of several
  // voices side by side. First the modulators' step and the oscillators into
  // main; false when the voice has just finished (or has no work buffers),
  // and then nothing more is to be done for it this block.
  bool renderOscillators(float* main);
  // Last, after the effects have run over main: adds it into mix at the
  // envelope's amplitude.
  void addTo(float* mix, const float* main);
  void setBlockSize(int n);
  // Makes this voice an equal of the template: key range, module kinds and
  // every stored parameter (running state is kept).
  void copyFrom(const Voice& other);

  // Builders for set-ups made in code; each returns the new module.
  template <class Kind>
  Kind& addModulator() {
    static_assert(std::is_base_of_v<Modulator, Kind>);
    return static_cast<Kind&>(adopt(std::make_unique<Kind>()));
  }
  template <class Kind>
  Kind& addEffect() {
    static_assert(std::is_base_of_v<VoiceEffect, Kind>);
    return static_cast<Kind&>(adopt(std::make_unique<Kind>()));
  }
  Oscillator& addOscillator();
  // The same by a file's type byte (modulatorKinds, voiceEffectKinds): null,
  // and the voice unchanged, for a type the family does not have.
  Modulator* addModulator(uint32_t type);
  VoiceEffect* addEffect(uint32_t type);

  // The voice's own stored values, ahead of its module lists (Parameter.h).
  template <class Visit, class... Self>
  static void describe(Visit&& visit, Self&... voice) {
    visit(param::integer("keyLow", 0, 255), voice.keyLow...);
    visit(param::integer("keyHigh", 0, 255), voice.keyHigh...);
  }

  Envelope& envelope() { return static_cast<Envelope&>(*modulators[0]); }
  const Envelope& envelope() const { return static_cast<const Envelope&>(*modulators[0]); }

  uint8_t keyLow = 0;
  uint8_t keyHigh = 255;
  bool active = false;
  bool gate = false;
  int32_t currentNote = -1;
  ModulatorList modulators;                          // [0] is an Envelope
  std::vector<std::unique_ptr<Oscillator>> oscillators;  // at least one
  std::vector<std::unique_ptr<VoiceEffect>> effects;     // 0 to 8
  int32_t blockSize = 1;
  float ampStart = 0.0f;
  float ampEnd = 0.0f;

 private:
  Modulator& adopt(std::unique_ptr<Modulator> modulator);
  VoiceEffect& adopt(std::unique_ptr<VoiceEffect> effect);

  SynthScratch* scratch_;
};
