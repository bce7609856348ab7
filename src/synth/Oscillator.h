// A waveform generator of a voice: sine, pulse, additive, triangle,
// sample-and-hold noise and periodic noise, with glide, detune, an integer
// multiplier, modulation routes, and frequency modulation and hard sync by
// the oscillator before it. Corner-correcting pulse and triangle reduce
// aliasing. Phases are in cycles, frequencies in cycles per sample.
#pragma once

#include <cstdint>
#include <iterator>

#include "synth/Parameterized.h"

struct SynthScratch;

class Oscillator : public Parameterized<Oscillator, SynthModule> {
 public:
  static constexpr uint32_t kType = moduleType::kNone;  // stored without a type byte
  enum Waveform : uint8_t { kSine, kPulse, kAdditive, kTriangle, kSampleHold, kPeriodicNoise };
  // The waveforms by number, as song sources name them.
  static constexpr const char* kWaveformNames[] = {"sine",     "pulse", "additive",
                                                   "triangle", "noise", "periodic"};
  static_assert(std::size(kWaveformNames) == kPeriodicNoise + 1);
  // How a voice combines this oscillator into the ones before it, by number.
  static constexpr const char* kCombineNames[] = {"mix", "ring"};
  // Route indices: pulse width, frequency, FM depth (two each).
  static constexpr int kRoutes = 6;

  void event(int kind, uint32_t value) override;

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
  uint8_t combine = 0;  // kCombineNames: 0 mix, 1 ring
  float mix = 1.0f;
  float fmAmount = 0.0f;
  ModulationRoute routes[kRoutes];

  // The record: the stored parameters in file order (Parameter.h).
  template <class Visit, class... Self>
  static void describe(Visit&& visit, Self&... oscillator) {
    visit(param::real("detune"), oscillator.detune...);
    visit(param::real("pulseWidth"), oscillator.pulseWidth...);
    visit(param::integer("multiplier", 0, 255), oscillator.multiplier...);
    visit(param::integer("transpose", -128, 127), oscillator.transpose...);
    visit(param::real("glide"), oscillator.glide...);
    visit(param::choice("waveform", kWaveformNames, kPeriodicNoise), oscillator.waveform...);
    visit(param::flag("sync"), oscillator.sync...);
    visit(param::choice("combine", kCombineNames, 255), oscillator.combine...);
    visit(param::real("mix"), oscillator.mix...);
    visit(param::real("fmAmount"), oscillator.fmAmount...);
    visit(param::route("route0", "pw"), oscillator.routes[0]...);
    visit(param::route("route1", "pw2"), oscillator.routes[1]...);
    visit(param::route("route2", "pitch"), oscillator.routes[2]...);
    visit(param::route("route3", "pitch2"), oscillator.routes[3]...);
    visit(param::route("route4", "fm"), oscillator.routes[4]...);
    visit(param::route("route5", "fm2"), oscillator.routes[5]...);
  }

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
