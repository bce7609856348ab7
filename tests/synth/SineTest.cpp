// The synthesizer's own sine against the C library's, and its block kernels
// against each other. bench_sine_accuracy runs the long comparison.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "synth/Sine.h"

namespace {

uint32_t bitsOf(float x) {
  uint32_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

int64_t bitsOf(double x) {
  int64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

// Arguments as the synthesizer makes them: oscillator phases, the additive
// wave's partials, and awkward values.
std::vector<float> arguments() {
  std::mt19937 rng(7);
  std::vector<float> x;
  for (float range : {1.6f, 80.0f, 5000.0f}) {
    std::uniform_real_distribution<float> d(-range, range);
    for (int i = 0; i < 30000; ++i) x.push_back(d(rng));
  }
  for (int k = -200; k <= 200; ++k) {  // near multiples of pi / 2
    const float m = float(k * 1.5707963267948966);
    x.insert(x.end(), {m, std::nextafter(m, 1e9f), std::nextafter(m, -1e9f)});
  }
  // Values whose sine lies close to half-way between two floats, where the
  // block kernel hands over to the exact one.
  std::uniform_real_distribution<float> wide(-100.0f, 100.0f);
  for (int i = 0, found = 0; i < 3000000 && found < 20; ++i) {
    const float v = wide(rng);
    const int64_t low = bitsOf(sine(double(v))) & ((int64_t(1) << 29) - 1);
    if (std::llabs(low - (int64_t(1) << 28)) < 4096) {
      x.push_back(v);
      ++found;
    }
  }
  const float inf = std::numeric_limits<float>::infinity();
  x.insert(x.end(), {0.0f, -0.0f, 1e-30f, -1e-30f, 1e-40f, 3e-8f, -3e-8f, 1048575.9f, 1048576.0f,
                     -3e6f, 1e30f, inf, -inf, std::numeric_limits<float>::quiet_NaN()});
  return x;
}

bool sameFloats(const std::vector<float>& a, const std::vector<float>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (bitsOf(a[i]) != bitsOf(b[i]) && !(std::isnan(a[i]) && std::isnan(b[i]))) return false;
  return true;
}

}  // namespace

TEST(Sine, WithinOneUnitOfTheLibraryAndRoundsToTheSameFloats) {
  const auto x = arguments();
  std::vector<float> ours(x.size());
  roundedSines(x.data(), ours.data(), int(x.size()));
  int differingFloats = 0;
  for (size_t i = 0; i < x.size(); ++i) {
    const double expected = std::sin(double(x[i]));
    const double got = sine(double(x[i]));
    if (std::isnan(expected)) {
      EXPECT_TRUE(std::isnan(got) && std::isnan(ours[i])) << x[i];
      continue;
    }
    ASSERT_LE(std::llabs(bitsOf(got) - bitsOf(expected)), 1) << x[i];
    EXPECT_EQ(bitsOf(ours[i]), bitsOf(roundedSine(x[i]))) << "block and single value, " << x[i];
    differingFloats += bitsOf(ours[i]) != bitsOf(float(expected));
  }
  // One unit in double moves a float rounding about once in 10^9 values.
  EXPECT_EQ(differingFloats, 0);
  EXPECT_EQ(bitsOf(roundedSine(-0.0f)), bitsOf(-0.0f));
}

TEST(Sine, EveryKernelGivesTheSameFloatsForEveryLengthAndInPlace) {
  const auto x = arguments();
  std::vector<float> portable(x.size());
  portableSineKernel()(x.data(), portable.data(), int(x.size()));

  std::vector<SineKernel> kernels{portableSineKernel()};
  if (wideSineKernel()) kernels.push_back(wideSineKernel());
  else std::printf("no wider kernel on this processor\n");
  for (SineKernel kernel : kernels) {
    std::vector<float> whole(x.size());
    kernel(x.data(), whole.data(), int(x.size()));
    EXPECT_TRUE(sameFloats(whole, portable));
    // Every tail length, written in place, touching nothing beyond n.
    for (int n = 0; n <= 17; ++n) {
      std::vector<float> buffer(x.begin() + 1000, x.begin() + 1000 + n + 1);
      const float guard = buffer[size_t(n)];
      kernel(buffer.data(), buffer.data(), n);
      EXPECT_EQ(bitsOf(buffer[size_t(n)]), bitsOf(guard)) << n;
      buffer.pop_back();
      EXPECT_TRUE(sameFloats(buffer, std::vector<float>(portable.begin() + 1000,
                                                        portable.begin() + 1000 + n)))
          << n;
    }
  }
}
