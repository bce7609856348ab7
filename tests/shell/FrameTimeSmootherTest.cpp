#include "shell/FrameTimeSmoother.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameTimeSmoother, FirstFrameUsesTheSinglePrecisionWeight) {
  FrameTimeSmoother smoother;
  smoother.add(0.25);
  EXPECT_EQ(smoother.previous, 0.0);
  EXPECT_EQ(smoother.smoothed, double(0.1f) * 0.25);
  EXPECT_EQ(smoother.rate(), 1.0 / (double(0.1f) * 0.25));
}

TEST(FrameTimeSmoother, SettlesOnTheFramePeriodAndFollowsAChange) {
  FrameTimeSmoother smoother;
  double t = 0.0;
  for (int frame = 0; frame < 300; ++frame) smoother.add(t += 0.02);
  EXPECT_NEAR(smoother.rate(), 50.0, 0.5);
  // A single long frame moves the readout only by a tenth of the jump.
  smoother.add(t += 0.5);
  EXPECT_GT(smoother.rate(), 1.0 / (0.1 * 0.5 + 0.9 * 0.02) - 1.0);
  for (int frame = 0; frame < 300; ++frame) smoother.add(t += 0.01);
  EXPECT_NEAR(smoother.rate(), 100.0, 1.0);
}

}  // namespace
