// Envelope, LFO and controller follower with settings away from their
// defaults, step by step against values worked out from their formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/Random.h"
#include "synth/ControllerFollower.h"
#include "synth/Envelope.h"
#include "synth/Lfo.h"

namespace {

// The envelope's level at step s, straight from its stage formulas.
struct EnvelopeLevels {
  double a, d, r, sustain;
  bool hold;

  double held(double s, double attackStart) const {
    if (s < a) return s / a + (1 - s / a) * attackStart;
    if (s < a + d) return 1 - (1 - sustain) * (s - a) / d;
    if (hold) return sustain;
    if (s < a + d + r) return (1 - (s - a - d) / r) * sustain;
    return 0;
  }
  double released(double s, double releaseStep, double releaseLevel) const {
    if (s < r + releaseStep) return releaseLevel - releaseLevel * (s - releaseStep) / r;
    return 0;
  }
};

double velocityFactor(double sens, double velocity) {
  if (sens == 0) return 1;
  if (sens > 0) return sens * velocity + (1 - sens);
  return sens * velocity + sens + 2;
}

}  // namespace

TEST(EnvelopeValues, StagesReleaseAndVelocityScaling) {
  Envelope env;
  env.attack = 3;
  env.decay = 4;
  env.release = 5;
  env.sustain = 0.3f;
  env.velocitySens = 0.5f;
  env.hold = true;
  const EnvelopeLevels levels{3, 4, 5, 0.3, true};
  const double velocity = 200 * 0.003921569;
  const double f = velocityFactor(0.5, velocity);

  env.event(0, 200u << 16 | 40);
  for (int s = 0; s < 10; ++s) {
    env.advance();
    EXPECT_NEAR(env.current, f * levels.held(s, 0), 1e-6) << "step " << s;
    EXPECT_NEAR(env.next, f * levels.held(s + 1, 0), 1e-6) << "step " << s;
  }
  // Released at step 10, from the sustain level, over five steps.
  env.event(1, 40);
  for (int s = 10; s < 17; ++s) {
    env.advance();
    EXPECT_NEAR(env.current, f * levels.released(s, 10, 0.3), 1e-6) << "step " << s;
    EXPECT_NEAR(env.next, f * levels.released(s + 1, 10, 0.3), 1e-6) << "step " << s;
  }

  // A retrigger starts the attack from the level reached, scaled for the
  // change of velocity; a negative sensitivity makes soft notes loud.
  Envelope re;
  re.attack = 4;
  re.decay = 2;
  re.sustain = 0.5f;
  re.velocitySens = -0.75f;
  re.event(0, 255u << 16);
  re.advance();
  re.advance();  // lastLevel: step 2 of 4 = 0.5
  re.event(0, 64u << 16);
  const double v1 = 255 * 0.003921569, v2 = 64 * 0.003921569;
  const double start = v1 * 0.5 / v2;
  EXPECT_NEAR(re.attackStart, start, 1e-5);
  const EnvelopeLevels reLevels{4, 2, 2, 0.5, true};
  const double g = velocityFactor(-0.75, v2);
  for (int s = 0; s < 7; ++s) {
    re.advance();
    EXPECT_NEAR(re.current, g * reLevels.held(s, start), 1e-5) << "step " << s;
    EXPECT_NEAR(re.next, g * reLevels.held(s + 1, start), 1e-5) << "step " << s;
  }
}

TEST(EnvelopeValues, WithoutHoldTheReleaseFollowsTheDecay) {
  Envelope env;
  env.attack = 2;
  env.decay = 3;
  env.release = 4;
  env.sustain = 0.6f;
  env.velocitySens = 0.0f;
  env.hold = false;
  const EnvelopeLevels levels{2, 3, 4, 0.6, false};
  env.event(0, 90u << 16);
  for (int s = 0; s < 12; ++s) {
    env.advance();
    EXPECT_NEAR(env.current, levels.held(s, 0), 1e-6) << "step " << s;
    EXPECT_NEAR(env.next, levels.held(s + 1, 0), 1e-6) << "step " << s;
  }
}

namespace {

// The LFO's raw wave at step p of a period P, as its waveform table gives it;
// the random waveforms take their points from the caller.
double lfoWave(int waveform, uint32_t p, uint32_t P, double held, double from, double to) {
  switch (waveform) {
    case 0:
      return std::sin(double(p) * double(6.29184f) / P);
    case 1:
      return 2.0 * p / P - 1;
    case 2:
      return p > P / 2 ? 1 : -1;
    case 3: {
      const uint32_t h = P / 2;
      return p < h ? 4.0 * p / P - 1 : 1 - 4.0 * (double(p) - h) / P;
    }
    case 4:
      return held;
    default:
      return (1 - double(p) / P) * from + double(p) / P * to;
  }
}

// Steps an LFO through two and a half cycles after a note-on and compares
// both values of every step with the table, offset and fade included.
void expectLfoFollowsItsTable(int waveform, uint16_t period) {
  SCOPED_TRACE("waveform " + std::to_string(waveform) + ", period " + std::to_string(period));
  Lfo lfo;
  lfo.waveform = uint8_t(waveform);
  lfo.period = period;
  lfo.offset = 0.25f;
  lfo.fadeSteps = 3;
  lfo.restartOnNote = true;
  lfo.phase = 2;  // restarted by the note
  lfo.event(0, 100u << 16);

  // Only this LFO draws: its k-th cycle takes the k-th number after srand.
  platform::srand(7);
  std::vector<double> points;
  for (int k = 0; k < 4; ++k) points.push_back(platform::rand() * 2 / 32767.0 - 1);
  platform::srand(7);
  double held = 0, from = 0, to = 0;
  uint32_t phase = 0;
  for (uint32_t step = 0; step < 5u * period / 2; ++step) {
    if (phase == 0) {
      const double point = points[step / period];
      held = point;
      from = to;
      to = point;
    }
    lfo.advance();
    double c = lfoWave(waveform, phase, period, held, from, to) + 0.25;
    // Square and random hold their value across the step.
    const bool holds = waveform == 2 || waveform == 4;
    double n = lfoWave(waveform, holds ? phase : phase + 1, period, held, from, to) + 0.25;
    if (step < 3) {
      c *= step / 3.0;
      n *= step / 3.0;
    }
    EXPECT_NEAR(lfo.current, c, 2e-6) << "step " << step;
    EXPECT_NEAR(lfo.next, n, 2e-6) << "step " << step;
    if (++phase == period) phase = 0;
  }
}

}  // namespace

TEST(LfoValues, EveryWaveformWithOffsetAndFade) {
  for (int waveform = 0; waveform < 6; ++waveform) {
    expectLfoFollowsItsTable(waveform, 8);
    expectLfoFollowsItsTable(waveform, 7);
  }
}

TEST(LfoValues, TriangleRisesThenFallsAndAFreeRunningPhaseSurvivesNotes) {
  Lfo tri;
  tri.waveform = 3;
  tri.period = 8;
  tri.fadeSteps = 0;
  std::vector<float> values;
  for (int i = 0; i < 8; ++i) {
    tri.advance();
    values.push_back(tri.current);
  }
  EXPECT_EQ(values, (std::vector<float>{-1, -0.5f, 0, 0.5f, 1, 0.5f, 0, -0.5f}));

  Lfo free;
  free.waveform = 1;
  free.period = 10;
  free.fadeSteps = 0;
  free.restartOnNote = false;
  for (int i = 0; i < 4; ++i) free.advance();
  free.event(0, 1u << 16);
  free.advance();
  EXPECT_NEAR(free.current, 2.0 * 4 / 10 - 1, 1e-6) << "the phase runs on through the note";
}

TEST(ControllerFollowerValues, SmoothsTowardsItsOwnControllerOnly) {
  ControllerFollower follower;
  follower.smoothing = 0.25f;
  follower.controller = 5;
  follower.event(2, (200u * 256) << 16 | 5);
  const double target = 200 * 256 * 0.000015259022;
  EXPECT_NEAR(follower.target, target, 1e-7);
  follower.event(2, (10u * 256) << 16 | 6);
  follower.event(0, (10u * 256) << 16 | 5);
  EXPECT_NEAR(follower.target, target, 1e-7) << "other controllers and notes are ignored";

  double next = 0;
  for (int step = 0; step < 6; ++step) {
    follower.advance();
    const double current = next;
    next = 0.75 * next + 0.25 * target;
    EXPECT_NEAR(follower.current, current, 1e-6) << "step " << step;
    EXPECT_NEAR(follower.next, next, 1e-6) << "step " << step;
  }
}
