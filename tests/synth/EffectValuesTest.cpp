// Filter, waveshaper, delay, chorus and effect chain with settings away from
// their defaults, sample by sample against values worked out from their
// formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "synth/Chorus.h"
#include "synth/Delay.h"
#include "synth/EffectChain.h"
#include "synth/Filter.h"
#include "synth/Waveshaper.h"

#include "FixedModulator.h"

namespace {

// A test signal with edges, a slow swing and an impulse.
std::vector<float> signal(int n, int offset) {
  std::vector<float> x(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const int k = i + offset;
    x[size_t(i)] = float(0.6 * std::sin(k * 0.05) + ((k / 9) % 2 ? 0.3 : -0.3) + (k == 5 ? 1 : 0));
  }
  return x;
}

void expectSamplesNear(const std::vector<float> &got, const std::vector<double> &want,
                       double tolerance, const std::string &what) {
  ASSERT_EQ(got.size(), want.size());
  int wrong = 0;
  for (size_t i = 0; i < got.size() && wrong < 5; ++i)
    if (!(std::fabs(got[i] - want[i]) <= tolerance)) {
      ADD_FAILURE() << what << ": sample " << i << " is " << got[i] << ", expected " << want[i];
      ++wrong;
    }
}

// One state-variable stage.
struct SvfStage {
  double low = 0, high = 0, band = 0, notch = 0;
  double run(double u, double c, double q, int mode) {
    low = low + c * band;
    high = u - low - q * band;
    band = band + c * high;
    notch = high + low;
    const double outputs[] = {low, high, band, notch};
    return outputs[mode];
  }
};

}  // namespace

TEST(FilterValues, EveryModeOneAndTwoStagesWithResonanceAndRoutes) {
  ModulatorList modulators;
  modulators.push_back(std::make_unique<FixedModulator>(0.2f, 0.4f));
  modulators.push_back(std::make_unique<FixedModulator>(0.5f, 0.7f));
  modulators.push_back(std::make_unique<FixedModulator>(0.9f, 0.3f));
  const char *names[] = {"low-pass", "high-pass", "band-pass", "notch"};
  for (bool single : {true, false}) {
    for (int mode = 0; mode < 4; ++mode) {
      const std::string what = std::string(names[mode]) + (single ? ", one stage" : ", two stages");
      Filter filter;
      filter.mode = mode;
      filter.singleStage = single;
      filter.cutoff = 0.05f;
      filter.resonance = 0.6f;
      filter.inputGain = 0.5f;
      filter.primary = {1, 0.3f};
      filter.scaling = {2, 0.5f};
      filter.additive = {0, 0.1f};
      const int n = 64;
      filter.setBlockSize(n);

      // primary x scaling, plus additive, plus cutoff.
      const double pNow = 0.3 * 0.25 * (0.5 + 0.5 * 0.81) + 0.1 * 0.04 + 0.05;
      const double pEnd = 0.3 * 0.49 * (0.5 + 0.5 * 0.09) + 0.1 * 0.16 + 0.05;
      const double q = 1 - 0.6;
      SvfStage first, output;
      for (int b = 0; b < 3; ++b) {
        std::vector<float> x = signal(n, b * n);
        std::vector<double> want(static_cast<size_t>(n));
        double c = pNow;
        for (int i = 0; i < n; ++i) {
          const double u = 0.5 * x[size_t(i)];
          want[size_t(i)] = single ? output.run(u, c, q, mode)
                                   : output.run(first.run(u, c, 1.0, mode), c, q, mode);
          c += (pEnd - pNow) / n;
        }
        filter.process(x.data(), modulators);
        expectSamplesNear(x, want, 1e-5, what);
      }
    }
  }
}

TEST(WaveshaperValues, ClipSaturateAndFoldWithDriveAndLevel) {
  const float inputs[] = {-1.3f, -0.4f, -0.05f, 0.0f, 0.02f, 0.3f, 0.75f, 2.5f};
  for (int mode = 0; mode < 3; ++mode) {
    Waveshaper shaper;
    shaper.mode = mode;
    shaper.drive = 2.5f;
    shaper.level = 0.8f;
    shaper.setBlockSize(8);
    std::vector<float> x(std::begin(inputs), std::end(inputs));
    std::vector<double> want;
    for (float in : inputs) {
      const double c = 2.5 * in;
      if (mode == 0) want.push_back(std::max(-0.8, std::min(0.8, 0.8 * c)));
      if (mode == 1)
        want.push_back(0.8 * c * (12 * c * c + 144) / (c * c * c * c + 60 * c * c + 144));
      if (mode == 2) want.push_back(std::sin(c) * 0.8);
    }
    ModulatorList none;
    shaper.process(x.data(), none);
    expectSamplesNear(x, want, 1e-6, "mode " + std::to_string(mode));
  }
}

TEST(DelayValues, BothSidesFollowTheBlockRecurrence) {
  const int n = 16;
  Delay delay;
  delay.delayLeft = 3;
  delay.loopLeft = 5;
  delay.wetLeft = 0.7f;
  delay.feedbackLeft = 0.6f;
  delay.delayRight = 2;
  delay.loopRight = 2;
  delay.wetRight = 0.4f;
  delay.feedbackRight = -0.5f;
  delay.dry = 0.3f;
  delay.update();
  delay.setBlockSize(n);
  struct Side {
    int delay, loop;
    double wet, feedback;
  };
  const Side sides[] = {{3, 5, 0.7, 0.6}, {2, 2, 0.4, -0.5}};
  std::vector<std::vector<float>> inputs[2];
  std::vector<std::vector<double>> ys[2];
  for (int T = 0; T < 30; ++T) {
    auto left = signal(n, T * n), right = signal(n, T * n + 1000);
    std::vector<float> outL(n, 0.25f), outR(n, -0.25f);
    delay.process(left.data(), right.data(), outL.data(), outR.data());
    inputs[0].push_back(left);
    inputs[1].push_back(right);
    for (int s = 0; s < 2; ++s) {
      // y(T) = x(T - delay) + feedback x y(T - loop); out = wet x y + dry x x.
      const Side &side = sides[s];
      std::vector<double> y(n, 0.0), want(n);
      for (int i = 0; i < n; ++i) {
        if (T >= side.delay) y[size_t(i)] += inputs[s][size_t(T - side.delay)][size_t(i)];
        if (T >= side.loop) y[size_t(i)] += side.feedback * ys[s][size_t(T - side.loop)][size_t(i)];
        want[size_t(i)] =
            (s ? -0.25 : 0.25) + side.wet * y[size_t(i)] + 0.3 * inputs[s][size_t(T)][size_t(i)];
      }
      ys[s].push_back(y);
      expectSamplesNear(s ? outR : outL, want, 1e-5,
                        (s ? "right, block " : "left, block ") + std::to_string(T));
    }
  }
}

namespace {

// The chorus from its description, in single precision as the synthesizer
// computes: a swept, linearly interpolated tap on a line of lineLength
// samples, with feedback into the sample just written.
struct ChorusModel {
  float rate, depth, stereoOffset, feedback, dry;
  int n;
  uint32_t length;
  float phase = 0;
  uint32_t written = 0;
  std::vector<float> line[2];

  ChorusModel(float rate, float depth, float stereoOffset, float feedback, float dry, int n)
      : rate(rate), depth(depth), stereoOffset(stereoOffset), feedback(feedback), dry(dry), n(n) {
    length = 2;
    while (length < 2u * uint32_t(n)) length *= 2;
    line[0].assign(length, 0.0f);
    line[1].assign(length, 0.0f);
  }

  void block(const std::vector<float> *in, std::vector<double> *out) {
    const double twoPi = 6.283185307179586;
    const float inc = rate * 0.5f / float(n);
    phase = phase - std::trunc(phase);
    const float A = float(n - 51) * depth * 0.5f;
    auto at = [&](float cycles) {
      return 50.0f + (float(std::sin(twoPi * double(cycles))) + 1.0f) * A;
    };
    float delay[2] = {at(phase), at(phase + stereoOffset * 0.5f)};
    const float end[2] = {at(phase + rate * 0.5f), at(phase + (stereoOffset + rate) * 0.5f)};
    const float step[2] = {(end[0] - delay[0]) / float(n), (end[1] - delay[1]) / float(n)};
    const uint32_t mask = length - 1;
    for (int i = 0; i < n; ++i) {
      const uint32_t w = ++written;
      for (int s = 0; s < 2; ++s) {
        const float k = std::nearbyint(delay[s]);
        const float f = delay[s] - k;
        const uint32_t tap = w - uint32_t(k);
        line[s][w & mask] = in[s][size_t(i)];
        const float y = (1.0f - f) * line[s][tap & mask] + f * line[s][(tap - 1) & mask];
        out[s][size_t(i)] += double(y + dry * in[s][size_t(i)]);
        if (feedback != 0) line[s][w & mask] += feedback * y;
        delay[s] += step[s];
      }
      phase += inc;
    }
  }
};

}  // namespace

TEST(ChorusValues, SweptTapWithDepthFeedbackAndStereoOffset) {
  const int n = 128;
  Chorus chorus;
  chorus.rate = 0.35f;
  chorus.depth = 0.6f;
  chorus.stereoOffset = 0.7f;
  chorus.feedback = 0.3f;
  chorus.dry = 0.2f;
  chorus.setBlockSize(n);
  ChorusModel model(0.35f, 0.6f, 0.7f, 0.3f, 0.2f, n);
  for (int b = 0; b < 12; ++b) {
    std::vector<float> in[2] = {signal(n, b * n), signal(n, b * n + 333)};
    std::vector<float> outL(n, 0.0f), outR(n, 0.0f);
    std::vector<double> want[2] = {std::vector<double>(n, 0.0), std::vector<double>(n, 0.0)};
    chorus.process(in[0].data(), in[1].data(), outL.data(), outR.data());
    model.block(in, want);
    expectSamplesNear(outL, want[0], 1e-5, "left, block " + std::to_string(b));
    expectSamplesNear(outR, want[1], 1e-5, "right, block " + std::to_string(b));
  }
}

// The chain against the same effects wired by hand: slot 0 from the bus into
// the temporaries, slot 1 on the temporaries in place, slot 2 from them into
// the output.
TEST(EffectChainValues, ThreeSlotsRunInSeriesThroughTheTemporaries) {
  const int n = 96;
  auto setUp = [](SendEffect *effect, int slot) {
    if (auto *chorus = dynamic_cast<Chorus *>(effect)) {
      chorus->depth = 0.3f + 0.2f * slot;
      chorus->feedback = 0.25f;
      chorus->dry = 0.5f;
    } else if (auto *delay = dynamic_cast<Delay *>(effect)) {
      delay->delayLeft = 2;
      delay->loopLeft = 3;
      delay->delayRight = 1;
      delay->loopRight = 4;
      delay->update();
    }
  };
  EffectChain chain;
  setUp(chain.fill(0, moduleType::kChorus), 0);
  setUp(chain.fill(1, moduleType::kDelay), 1);
  setUp(chain.fill(2, moduleType::kChorus), 2);
  chain.setBlockSize(n);
  Chorus first, last;
  Delay middle;
  setUp(&first, 0);
  setUp(&middle, 1);
  setUp(&last, 2);
  first.setBlockSize(n);
  middle.setBlockSize(n);
  last.setBlockSize(n);

  for (int b = 0; b < 8; ++b) {
    auto bus = signal(n, b * n);
    std::vector<float> outL(n, 0.1f), outR(n, 0.1f), wantL(n, 0.1f), wantR(n, 0.1f);
    chain.process(bus.data(), bus.data(), outL.data(), outR.data());
    std::vector<float> tempL(n, 0.0f), tempR(n, 0.0f);
    first.process(bus.data(), bus.data(), tempL.data(), tempR.data());
    middle.process(tempL.data(), tempR.data(), tempL.data(), tempR.data());
    last.process(tempL.data(), tempR.data(), wantL.data(), wantR.data());
    ASSERT_EQ(outL, wantL) << "block " << b;
    ASSERT_EQ(outR, wantR) << "block " << b;
  }
}
