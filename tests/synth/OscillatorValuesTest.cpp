// Every oscillator waveform on both paths (plain, and frequency-modulated or
// synced by the oscillator before), sample by sample against a generator
// written out from the waveform and corner-correction formulas; the ring
// and mix combination through a voice.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "synth/Oscillator.h"
#include "synth/SynthScratch.h"
#include "synth/Voice.h"

#include "FixedModulator.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The reference generator: one block of one oscillator. Pulse width t,
// frequency f and FM depth d move linearly across the block; x and wrap are
// the previous oscillator's output and wrap record when fmPath is set.
struct Generator {
  int waveform = 3;
  bool fmPath = false;
  bool sync = false;
  float phase = 0, prevPhase = 0;
  int32_t seed = 1;
  uint8_t noiseCounter = 0;
  float noiseHeld = 0;

  float random() {
    seed = int32_t(uint32_t(16807 * (seed % 127773)) + uint32_t(2836 * (seed / 127773)));
    if (seed < 0) seed = int32_t(uint32_t(seed) + 2147483647u);
    return float(seed) * float(1.0 / 1073741824.0) - 1.0f;
  }

  static float pulseValue(float o, float m, float t, bool fm) {
    if (m < t && o > t) return (o + m - 2 * t) / (o - m);
    if (m > o && m > t && o <= t) return (1 - o - m) / (1 - m + o);
    if (m > o && m > t && o > t) return fm ? 1 - t / (1 - m + o) : (o - t) + (1 - m) - t;
    return o > t ? 1.0f : -1.0f;
  }
  static float shape(float y, float t) { return y < t ? 2 * y / t - 1 : 2 * (1 - y) / (1 - t) - 1; }
  static float triangleValue(float A, float B, float t, bool fm) {
    if (A > t && B > t && B > A) return (t + (B - 1) + shape(A, t) * (A - t)) / (A + 1 - B);
    if (B > A && B < t) return ((t - B) + (t - 1) + A * shape(A, t)) / (A + 1 - B);
    if (fm && A > t && B < t) return ((t - B) + shape(A, t) * (A - t)) / (A - B);
    if (B > t && A < t) return (A * shape(A, t) + B - 1) / (A + 1 - B);
    return shape(A, t);
  }

  // pw, freq and fm: start and end of the block. Returns the samples.
  std::vector<float> block(int n, float pw0, float pw1, float f0, float f1, float d0, float d1,
                           const std::vector<float> &x, std::vector<float> &wrap) {
    std::vector<float> out(size_t(n), 0.0f);
    if (waveform == 4) {
      const uint8_t mask = uint8_t(int(pw0 * 255.0f));
      for (int i = 0; i < n; ++i) {
        if ((noiseCounter & mask) == 0) noiseHeld = random();
        out[size_t(i)] = noiseHeld;
        ++noiseCounter;
      }
      return out;
    }
    if (waveform == 0 || waveform == 2) {
      const int kind = waveform;
      waveform = 3;
      const float s = pw0;
      out = kind == 2 ? block(n, 0.5f, 0.5f, f0, f1, d0, d1, x, wrap)
                      : block(n, pw0, pw1, f0, f1, d0, d1, x, wrap);
      waveform = kind;
      for (float &y : out) {
        if (kind == 0) {
          y = float(std::sin(double(y) * kPi / 2));
        } else {
          double sum = 0;
          for (int k = 1; k <= 8; ++k)
            sum += (10 - k) / 2.0 * std::sin(((y + 1.0) / 2 * k - 0.5) * kPi + s * 15 * kPi);
          y = float(sum);
        }
      }
      return out;
    }
    float t = pw0, f = f0, d = d0;
    const float dt = (pw1 - pw0) / float(n), df = (f1 - f0) / float(n), dd = (d1 - d0) / float(n);
    for (int i = 0; i < n; ++i) {
      float &w = wrap[size_t(i)];
      float h = f;
      bool reseed = false;
      if (fmPath) {
        prevPhase = phase;
        h = (d * x[size_t(i)] + 1) * f;
        phase += h;
        if (phase > 1) {
          phase -= 1;
          w = phase;
          reseed = true;
        } else if (phase < 0 && waveform != 5) {
          phase += 1;
          w = phase;
        } else if (w >= 0 && (sync || waveform == 5)) {
          phase = w;
          reseed = true;
        } else {
          w = -1;
        }
      } else {
        w = -1;
        if (phase > 1) {
          phase -= 1;
          w = phase;
          reseed = true;
        }
      }
      const float o = phase, m = prevPhase;
      if (waveform == 1) {
        out[size_t(i)] = pulseValue(o, m, t, fmPath) - (fmPath ? 0 : 1 - 2 * t);
      } else if (waveform == 3) {
        if (fmPath)
          out[size_t(i)] = h >= 0 ? triangleValue(o, m, t, true) : triangleValue(m, o, t, true);
        else
          out[size_t(i)] = m > o ? triangleValue(o, m, t, false) : shape(o, t);
      } else {
        if (reseed) seed = int32_t(t * 134217728.0f);
        out[size_t(i)] = fmPath ? 2 * random() : random();
      }
      if (!fmPath) {
        prevPhase = phase;
        if (waveform == 3) {
          f += df;
          phase += f;
        } else {
          phase += f;
          f += df;
        }
        t += dt;
        d += dd;
      } else {
        t += dt;
        f += df;
        d += dd;
      }
    }
    return out;
  }
};

void expectSamplesNear(const std::vector<float> &got, const std::vector<float> &want,
                       float tolerance, const char *what) {
  ASSERT_EQ(got.size(), want.size());
  int wrong = 0;
  for (size_t i = 0; i < got.size() && wrong < 5; ++i)
    if (!(std::fabs(got[i] - want[i]) <= tolerance)) {
      ADD_FAILURE() << what << ": sample " << i << " is " << got[i] << ", expected " << want[i];
      ++wrong;
    }
}

}  // namespace

// One oscillator alone: detune, multiplier, pulse width and a frequency route
// moving the pitch across the block.
TEST(OscillatorValues, EveryWaveformOnThePlainPath) {
  ModulatorList modulators;
  modulators.push_back(std::make_unique<FixedModulator>(0.5f, 0.8f));
  for (int waveform = 0; waveform <= Oscillator::kPeriodicNoise; ++waveform) {
    SCOPED_TRACE(Oscillator::kWaveformNames[waveform]);
    Oscillator osc;
    osc.waveform = uint8_t(waveform);
    osc.detune = 0.01f;
    osc.multiplier = 3;
    osc.pulseWidth = 0.3f;
    osc.routes[2] = {0, 0.2f};
    osc.targetIncrement = 0.0123f;
    SynthScratch scratch;
    const int n = 300;
    scratch.resize(n);
    Generator model;
    model.waveform = waveform;
    std::vector<float> wrap(n, -1.0f), none(n, 0.0f);
    const float f = (1.0f + 0.01f) * 3.0f * 0.0123f;
    for (int b = 0; b < 3; ++b) {
      std::vector<float> got(n);
      osc.render(n, got.data(), modulators, false, scratch);
      const auto want = model.block(n, 0.3f, 0.3f, f * (1 + 0.2f * 0.25f), f * (1 + 0.2f * 0.64f),
                                    0, 0, none, wrap);
      expectSamplesNear(got, want, waveform == 2 ? 2e-3f : 2e-4f,
                        Oscillator::kWaveformNames[waveform]);
    }
  }
}

// A second oscillator after a triangle: frequency modulation with a depth
// route, with and without hard sync, every waveform.
TEST(OscillatorValues, EveryWaveformModulatedAndSyncedByThePreviousOscillator) {
  ModulatorList modulators;
  modulators.push_back(std::make_unique<FixedModulator>(0.6f, 0.3f));
  for (bool sync : {false, true}) {
    for (int waveform = 0; waveform <= Oscillator::kPeriodicNoise; ++waveform) {
      SCOPED_TRACE(std::string(Oscillator::kWaveformNames[waveform]) + (sync ? ", synced" : ""));
      Oscillator first, second;
      first.multiplier = 1;
      first.pulseWidth = 0.4f;
      first.targetIncrement = 0.0071f;
      second.waveform = uint8_t(waveform);
      second.multiplier = 2;
      second.pulseWidth = 0.35f;
      second.fmAmount = 0.7f;
      second.routes[4] = {0, 0.5f};
      second.sync = sync;
      second.targetIncrement = 0.0093f;
      SynthScratch scratch;
      const int n = 256;
      scratch.resize(n);
      Generator model;
      model.waveform = waveform;
      model.fmPath = true;
      model.sync = sync;
      for (int b = 0; b < 3; ++b) {
        std::vector<float> raw(n), got(n);
        first.render(n, raw.data(), modulators, false, scratch);
        // The first oscillator's output and wrap record, as the second finds
        // them.
        std::vector<float> x(scratch.oscWork.begin(), scratch.oscWork.begin() + n);
        std::vector<float> wrap(scratch.wrapBuffer.begin(), scratch.wrapBuffer.begin() + n);
        second.render(n, got.data(), modulators, true, scratch);
        const float f = 2.0f * 0.0093f;
        const auto want =
            model.block(n, 0.35f, 0.35f, f, f, 0.7f + 0.5f * 0.36f, 0.7f + 0.5f * 0.09f, x, wrap);
        expectSamplesNear(got, want, waveform == 2 ? 2e-3f : 2e-4f,
                        Oscillator::kWaveformNames[waveform]);
      }
    }
  }
}

TEST(OscillatorValues, RingAndMixCombineIntoTheVoice) {
  for (uint8_t combine : {0, 1}) {
    SCOPED_TRACE(combine ? "ring" : "mix");
    SynthScratch scratch;
    const int n = 128;
    scratch.resize(n);
    Voice voice(&scratch);
    voice.effects.clear();
    voice.envelope().attack = 0;
    voice.envelope().sustain = 1.0f;
    voice.envelope().velocitySens = 0.0f;
    voice.oscillators[0]->multiplier = 1;
    Oscillator &second = voice.addOscillator();
    second.waveform = Oscillator::kPulse;
    second.multiplier = 3;
    second.combine = combine;
    second.mix = 0.4f;
    voice.setBlockSize(n);
    voice.event(0, 255u << 16 | 30);

    Oscillator first, aux;
    first.multiplier = 1;
    aux.waveform = Oscillator::kPulse;
    aux.multiplier = 3;
    aux.fmAmount = 0.0f;
    first.event(0, 255u << 16 | 30);
    aux.event(0, 255u << 16 | 30);
    SynthScratch own;
    own.resize(n);
    ModulatorList none;
    std::vector<float> mix(n, 0.0f), main(n), other(n);
    voice.render(mix.data());
    first.render(n, main.data(), none, false, own);
    aux.render(n, other.data(), none, true, own);
    for (int i = 0; i < n; ++i) {
      const float combined =
          combine ? main[i] * (0.4f * other[i] + 1 - 0.4f) : 0.4f * other[i] + (1 - 0.4f) * main[i];
      ASSERT_NEAR(mix[i], 0.05f * combined, 1e-6) << "sample " << i;
    }
  }
}
