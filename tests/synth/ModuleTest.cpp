// Modulators, oscillators and effects, each driven on its own.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/Random.h"
#include "synth/Chorus.h"
#include "synth/Delay.h"
#include "synth/EffectChain.h"
#include "synth/Envelope.h"
#include "synth/Filter.h"
#include "synth/Lfo.h"
#include "synth/Oscillator.h"
#include "synth/SynthScratch.h"
#include "synth/Waveshaper.h"

namespace {

std::vector<float> currents(Modulator& m, int steps) {
  std::vector<float> out;
  for (int i = 0; i < steps; ++i) {
    m.advance();
    out.push_back(m.current);
  }
  return out;
}

bool allFinite(const std::vector<float>& v) {
  for (float x : v)
    if (!std::isfinite(x)) return false;
  return true;
}

float mean(const std::vector<float>& v) {
  double sum = 0;
  for (float x : v) sum += x;
  return float(sum / double(v.size()));
}

// Renders n samples of osc (after prev, if given) on fresh scratch buffers.
std::vector<float> render(Oscillator& osc, int n, Oscillator* prev = nullptr) {
  static ModulatorList none;
  SynthScratch scratch;
  scratch.resize(n);
  std::vector<float> out(static_cast<size_t>(n)), before(static_cast<size_t>(n));
  if (prev) prev->render(n, before.data(), none, false, scratch);
  osc.render(n, out.data(), none, prev != nullptr, scratch);
  return out;
}

}  // namespace

TEST(Envelope, StagesAttackZeroHoldAndRelease) {
  Envelope env;
  env.velocitySens = 0.0f;
  env.attack = 1;
  env.decay = 2;
  env.release = 2;
  env.sustain = 0.5f;
  env.hold = false;
  env.event(0, 200u << 16);
  EXPECT_EQ(currents(env, 7), (std::vector<float>{0, 1, 0.75f, 0.5f, 0.25f, 0, 0}));

  Envelope quick;
  quick.attack = 0;
  quick.velocitySens = 0.0f;
  quick.event(0, 100u << 16);
  quick.advance();
  EXPECT_EQ(quick.current, 1.0f) << "attack 0 starts in the decay at 1";

  Envelope slow;
  slow.attack = 10;
  slow.velocitySens = 0.0f;
  slow.event(0, 255u << 16);
  currents(slow, 3);
  slow.event(1, 0);
  slow.advance();
  EXPECT_FLOAT_EQ(slow.current, 0.3f) << "released from the level reached";
  EXPECT_FLOAT_EQ(slow.next, 0.15f);
}

TEST(Envelope, VelocityAndRetrigger) {
  Envelope env;
  env.attack = 0;
  env.velocitySens = 1.0f;
  env.event(0, 51u << 16);
  env.advance();
  EXPECT_NEAR(env.current, 0.2f, 1e-6) << "proportional to velocity";
  env.velocitySens = -1.0f;
  env.advance();
  EXPECT_NEAR(env.current, 0.8f * (1.0f - 0.9f / 8), 1e-6) << "inverted";

  Envelope re;
  re.attack = 4;
  re.event(0, 255u << 16);
  currents(re, 2);  // level 0.25 at the end of the second step... (s=2: 0.5)
  const float reached = re.lastLevel;
  re.event(0, 127u << 16);
  EXPECT_FLOAT_EQ(re.attackStart, 1.0f * reached / (127 * 0.003921569f));

  Envelope silent;
  silent.event(0, 0);  // velocity 0: nothing to compensate against
  silent.advance();
  EXPECT_EQ(silent.attackStart, 0.0f);
  EXPECT_TRUE(std::isfinite(silent.current) && std::isfinite(silent.next));
}

TEST(Lfo, WaveformsFadeAndOddSettings) {
  Lfo square;
  square.waveform = 2;
  square.period = 4;
  square.fadeSteps = 0;
  EXPECT_EQ(currents(square, 5), (std::vector<float>{-1, -1, -1, 1, -1}));

  Lfo faded;
  faded.waveform = 1;
  faded.offset = 0.5f;
  faded.period = 8;
  faded.event(0, 0);
  auto values = currents(faded, 40);
  EXPECT_EQ(values[0], 0.0f) << "first step after a note-on, offset included";
  EXPECT_FLOAT_EQ(values[32], (2.0f * 0 / 8 - 1) + 0.5f) << "full strength after 32 steps";
  EXPECT_FLOAT_EQ(values[16], ((2.0f * 0 / 8 - 1) + 0.5f) * 0.5f);

  platform::srand(1);
  const int r = platform::rand();
  platform::srand(1);
  Lfo random;
  random.waveform = 4;
  random.fadeSteps = 0;
  random.advance();
  EXPECT_EQ(random.current, float(r * 2) / 32767.0f - 1.0f);

  Lfo zero;
  zero.period = 0;
  zero.waveform = 0;
  EXPECT_TRUE(allFinite(currents(zero, 4)));
  Lfo unknown;
  unknown.waveform = 9;
  unknown.fadeSteps = 0;
  EXPECT_EQ(currents(unknown, 2), (std::vector<float>{0, 0}));
}

TEST(Oscillator, RandomSequenceAddsTheSecondProduct) {
  Oscillator osc;
  osc.nextRandom();
  EXPECT_EQ(osc.seed, 16807);
  osc.nextRandom();
  EXPECT_EQ(osc.seed, 282475249);
  const float third = osc.nextRandom();
  EXPECT_EQ(osc.seed, 1635185193) << "the minimal standard generator would give 1622650073";
  EXPECT_EQ(third, float(1635185193) / 1073741824.0f - 1.0f);
}

TEST(Oscillator, PitchGlideAndFrequencyLimit) {
  Oscillator osc;
  osc.event(0, 46);  // note + 2 = 48: 27.5 x 2^(48/12) = 440 Hz
  render(osc, 1);
  EXPECT_NEAR(osc.phase, 2 * 440.0f / 44100.0f, 1e-6) << "glide 0: at pitch in the first block";

  Oscillator high;
  high.multiplier = 255;
  high.event(0, 120);
  render(high, 1);
  EXPECT_EQ(high.phase, 0.49f);

  // The pitch is a float pow result times a float constant, rounded once
  // each; carrying the product in double moves a dozen notes (9 among them)
  // by one unit in the last place, which is heard as a different sound.
  Oscillator exact;
  exact.event(0, 9);
  EXPECT_EQ(exact.targetIncrement, 0x1.34965ep-10f);

  Oscillator gliding;
  gliding.glide = 0.5f;
  gliding.event(0, 60);
  render(gliding, 1);
  EXPECT_NEAR(gliding.glideState, 0.75f * gliding.targetIncrement, 1e-9);
}

TEST(Oscillator, PulseMeanAndPathsAndTriangleLimits) {
  Oscillator plain;
  plain.waveform = Oscillator::kPulse;
  plain.pulseWidth = 0.25f;
  plain.event(0, 40);
  EXPECT_NEAR(mean(render(plain, 44100)), 0.0f, 0.01f);

  Oscillator first, second;
  first.event(0, 40);
  second.waveform = Oscillator::kPulse;
  second.pulseWidth = 0.25f;
  second.fmAmount = 1e-9f;
  second.event(0, 40);
  EXPECT_NEAR(mean(render(second, 44100, &first)), 0.5f, 0.02f) << "FM path keeps 1 - 2t";

  for (float width : {1.0f, 3.0f, 0.0f, -1.0f}) {
    Oscillator tri, fmTri, base;
    tri.pulseWidth = fmTri.pulseWidth = width;
    tri.event(0, 90);
    fmTri.event(0, 90);
    base.event(0, 50);
    fmTri.fmAmount = -3.0f;
    EXPECT_TRUE(allFinite(render(tri, 2000))) << width;
    EXPECT_TRUE(allFinite(render(fmTri, 2000, &base))) << width;
  }
}

TEST(Oscillator, NoiseGenerators) {
  Oscillator white;
  white.waveform = Oscillator::kSampleHold;
  white.pulseWidth = 0.0f;
  auto w = render(white, 8);
  EXPECT_NE(w[0], w[1]);
  Oscillator held;
  held.waveform = Oscillator::kSampleHold;
  held.pulseWidth = 1.0f;
  auto h = render(held, 300);
  EXPECT_EQ(h[0], h[255]);
  EXPECT_NE(h[255], h[256]) << "a new value every 256 samples";

  // Periodic noise repeats each cycle: seed reset at every wrap.
  Oscillator periodic;
  periodic.waveform = Oscillator::kPeriodicNoise;
  periodic.multiplier = 1;
  periodic.targetIncrement = 0.0625f;  // exactly 16 samples per cycle
  auto p = render(periodic, 200);
  for (int i = 40; i < 180; ++i) ASSERT_EQ(p[i], p[i + 16]) << i;
}

TEST(VoiceEffects, FilterLimitsAndWaveshaperModes) {
  auto filtered = [](float cutoff) {
    Filter f;
    f.cutoff = cutoff;
    f.setBlockSize(64);
    ModulatorList none;
    std::vector<float> x(64);
    for (int i = 0; i < 64; ++i) x[i] = (i % 7) - 3.0f;
    f.process(x.data(), none);
    return x;
  };
  EXPECT_EQ(filtered(-3.0f), filtered(0.004f));
  EXPECT_EQ(filtered(7.0f), filtered(1.0f));
  EXPECT_NE(filtered(0.5f), filtered(1.0f));

  auto shaped = [](int32_t mode, float drive, float level, float x) {
    Waveshaper w;
    w.mode = mode;
    w.drive = drive;
    w.level = level;
    w.setBlockSize(1);
    w.process(&x);
    return x;
  };
  EXPECT_EQ(shaped(0, 4.0f, 0.5f, 0.5f), 0.5f);
  EXPECT_EQ(shaped(0, 4.0f, 0.5f, -0.5f), -0.5f);
  EXPECT_EQ(shaped(0, 1.0f, 1.0f, 0.25f), 0.25f);
  EXPECT_NEAR(shaped(1, 10.0f, 2.0f, 1.0f), 2.0f * 0.8325f, 1e-4);
  EXPECT_EQ(shaped(2, 2.0f, 0.5f, 0.5f), float(std::sin(1.0)) * 0.5f);
  EXPECT_EQ(shaped(7, 2.0f, 0.5f, 0.3f), 0.3f);
}

TEST(SendEffects, DelayTimesInBlocks) {
  const int n = 8;
  Delay d;
  d.delayLeft = 3;
  d.loopLeft = 4;
  d.feedbackLeft = 0.5f;
  d.wetLeft = 1.0f;
  d.dry = 0.25f;
  d.delayRight = 0;
  d.loopRight = 5;
  d.wetRight = 0.5f;
  d.update();
  d.setBlockSize(n);
  std::vector<float> firstSample;
  std::vector<float> rightFirst;
  for (int block = 0; block < 12; ++block) {
    std::vector<float> in(n, block == 0 ? 1.0f : 0.0f), outL(n, 0), outR(n, 0);
    d.process(in.data(), in.data(), outL.data(), outR.data());
    firstSample.push_back(outL[0]);
    rightFirst.push_back(outR[0]);
  }
  // y(T) = x(T - 3) + 0.5 y(T - 4), out = y + 0.25 x.
  EXPECT_EQ(firstSample, (std::vector<float>{0.25f, 0, 0, 1, 0, 0, 0, 0.5f, 0, 0, 0, 0.25f}));
  EXPECT_EQ(rightFirst[0], 0.5f + 0.25f) << "no delay: wet and dry at once";
  EXPECT_EQ(rightFirst[1], 0.0f);

  Delay wild;  // delay + loop beyond the ring: held inside it
  wild.delayLeft = 200;
  wild.loopLeft = 255;
  wild.delayRight = 128;
  wild.loopRight = 1;
  wild.update();
  wild.setBlockSize(4);
  std::vector<float> in(4, 1.0f), out(4, 0.0f);
  for (int block = 0; block < 300; ++block) wild.process(in.data(), in.data(), out.data(), out.data());
  EXPECT_TRUE(allFinite(out));
  EXPECT_EQ(wild.delayLeft, 200) << "the stored value stays as read";
}

TEST(SendEffects, ChorusDepthZeroIsAFixedDelayAndSmallBlocksAreSafe) {
  Chorus c;
  c.depth = 0.0f;
  c.feedback = 0.0f;
  c.setBlockSize(256);
  std::vector<float> in(256, 0.0f), outL(256, 0.0f), outR(256, 0.0f);
  in[0] = 1.0f;
  c.process(in.data(), in.data(), outL.data(), outR.data());
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(outL[i], i == 50 ? 1.0f : 0.0f) << i;
    ASSERT_EQ(outR[i], i == 50 ? 1.0f : 0.0f) << i;
  }
  for (int n : {1, 16, 51}) {
    Chorus small;
    small.depth = 3.0f;
    small.setBlockSize(n);
    std::vector<float> x(size_t(n), 0.5f), l(size_t(n), 0.0f), r(size_t(n), 0.0f);
    for (int b = 0; b < 50; ++b) small.process(x.data(), x.data(), l.data(), r.data());
    EXPECT_TRUE(allFinite(l) && allFinite(r)) << n;
  }
}

TEST(SendEffects, ChainRunsPresentSlotsInSeries) {
  auto run = [](std::initializer_list<int> present) {
    EffectChain chain;
    chain.setBlockSize(4);
    for (int s : present) {
      auto* d = static_cast<Delay*>(chain.fill(s, moduleType::kDelay));
      d->delayLeft = d->delayRight = 0;
      d->loopLeft = d->loopRight = 0;
      d->wetLeft = d->wetRight = 0.5f;
      d->feedbackLeft = d->feedbackRight = 0.0f;
      d->dry = 0.0f;
      d->update();
    }
    std::vector<float> in(4, 1.0f), outL(4, 0.0f), outR(4, 0.0f);
    chain.process(in.data(), in.data(), outL.data(), outR.data());
    return outL[0];
  };
  EXPECT_EQ(run({}), 0.0f);
  EXPECT_EQ(run({1}), 0.5f);
  EXPECT_EQ(run({0, 2}), 0.25f);
  EXPECT_EQ(run({0, 1, 2}), 0.375f) << "the middle slot adds into the temporaries in place";
  EffectChain chain;
  EXPECT_EQ(chain.fill(0, 5), nullptr) << "other types leave the slot empty";
}
