// A waveform generator of a voice: sine, pulse, additive, triangle,
// sample-and-hold noise and periodic noise, with glide, detune, an integer
// multiplier, modulation routes, and frequency modulation and hard sync by
// the oscillator before it. Corner-correcting pulse and triangle reduce
// aliasing. Phases are in cycles, frequencies in cycles per sample.
#pragma once

#include <cstdint>

#include "synth/Modulator.h"

struct SynthScratch;

class Oscillator : public SynthModule {
 public:
  enum Waveform : uint8_t { kSine, kPulse, kAdditive, kTriangle, kSampleHold, kPeriodicNoise };
  // Route indices: pulse width, frequency, FM depth (two each).
  static constexpr int kRoutes = 6;

  Oscillator() : SynthModule(moduleType::kNone) {}
  void save(DataStream& stream) override;
  void load(DataStream& stream) override;
  void event(int kind, uint32_t value) override;
  void copyParametersFrom(const Oscillator& other);

  // Renders n samples into scratch.oscWork (which holds the previous
  // oscillator's output when called) and copies them to destination.
  // hasPrevious: there is an oscillator before this one in the voice.
  void render(int n, float* destination, const ModulatorList& modulators, bool hasPrevious,
              SynthScratch& scratch);

  // Next value of the oscillator's own random generator, -1 to 1.
  float nextRandom();

  // Stored.
  float detune = 0.0f;
  float pulseWidth = 0.5f;
  uint8_t multiplier = 2;
  int8_t transpose = 0;
  float glide = 0.0f;
  uint8_t waveform = kTriangle;
  bool sync = false;
  uint8_t combine = 0;  // 0 mix, 1 ring
  float mix = 1.0f;
  float fmAmount = 0.0f;
  ModulationRoute routes[kRoutes];

  // Running state.
  float targetIncrement = 0.0f;
  float glideState = 0.0f;
  float phase = 0.0f;
  float prevPhase = 0.0f;
  int32_t seed = 1;

 private:
  // One step of the random generator on state, the value -1 to 1.
  static float randomStep(int32_t& state);
  void pulse(int n, bool fmPath, float* work, float* wrap);
  void triangle(int n, bool fmPath, float* work, float* wrap);
  void periodicNoise(int n, bool fmPath, float* work, float* wrap);
  void sampleHold(int n, float* work, SynthScratch& scratch);
  // The additive wave from the triangle in work, P the partials' phase.
  static void additive(int n, float P, float* work);

  // Working values of the block being rendered.
  float pwStart_ = 0, pwEnd_ = 0, freqStart_ = 0, freqEnd_ = 0, fmStart_ = 0, fmEnd_ = 0;
};
