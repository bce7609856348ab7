// The synthesizer's sine against the C library's over 10^8 arguments: how
// many of its floats differ, the largest distance of its doubles in units in
// the last place, and the time per value of each. The arguments are those the
// synthesizer makes (oscillator phases, additive partials) and floats of every
// size up to 2^20.
//
// EveryFloatAgainstTheExactKernel then takes every float below 2^20 in size,
// 2.5 billion of them, through each block kernel and through the exact scalar
// sine, and counts the floats that differ: the block kernels' quick path
// claims to decide every rounding it does not hand over.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <random>
#include <thread>
#include <vector>

#include "synth/Sine.h"

namespace {

constexpr int kBatch = 4096;

double threadSeconds() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

template <typename T, typename U>
U bitsOf(T x) {
  U b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

void fill(std::vector<float>& x, std::mt19937_64& rng) {
  std::uniform_real_distribution<float> phase(-1.5707964f, 1.5707964f), partial(-60.0f, 60.0f);
  std::uniform_int_distribution<uint32_t> bits(0x20000000u, 0x497FFFFFu);  // 2^-63 to 2^20
  for (size_t i = 0; i < x.size(); i += 3) {
    x[i] = phase(rng);
    x[i + 1] = partial(rng);
    const uint32_t b = bits(rng) | (uint32_t(rng() & 1) << 31);
    std::memcpy(&x[i + 2], &b, sizeof(float));
  }
}

void SineAgainstLibrary(benchmark::State& state) {
  const int64_t total = state.range(0);
  int64_t differingFloats = 0, done = 0;
  int64_t worstUlps = 0;
  double ours = 0, library = 0;
  for (auto _ : state) {
    std::mt19937_64 rng(2026);
    std::vector<float> x(kBatch - kBatch % 3), mine(x.size()), theirs(x.size());
    for (done = 0; done < total; done += int64_t(x.size())) {
      fill(x, rng);
      double t0 = threadSeconds();
      roundedSines(x.data(), mine.data(), int(x.size()));
      double t1 = threadSeconds();
      for (size_t i = 0; i < x.size(); ++i) theirs[i] = float(std::sin(double(x[i])));
      double t2 = threadSeconds();
      ours += t1 - t0;
      library += t2 - t1;
      for (size_t i = 0; i < x.size(); ++i) {
        differingFloats += bitsOf<float, uint32_t>(mine[i]) != bitsOf<float, uint32_t>(theirs[i]);
        const int64_t ulps = bitsOf<double, int64_t>(sine(double(x[i]))) -
                             bitsOf<double, int64_t>(std::sin(double(x[i])));
        if (std::llabs(ulps) > worstUlps) worstUlps = std::llabs(ulps);
      }
    }
  }
  state.counters["arguments"] = double(done);
  state.counters["differing_floats"] = double(differingFloats);
  state.counters["worst_ulps"] = double(worstUlps);
  state.counters["ns_ours"] = ours * 1e9 / double(done);
  state.counters["ns_library"] = library * 1e9 / double(done);
  state.counters["wide_kernel"] = wideSineKernel() ? 1 : 0;
}
BENCHMARK(SineAgainstLibrary)->Arg(100000000)->Iterations(1)->Unit(benchmark::kSecond);

void EveryFloatAgainstTheExactKernel(benchmark::State& state) {
  constexpr uint32_t kLimit = 0x49800000u;  // 2^20 as a float
  std::vector<SineKernel> kernels{portableSineKernel()};
  if (wideSineKernel()) kernels.push_back(wideSineKernel());
  int64_t differing = 0, checked = 0;
  for (auto _ : state) {
    // Positive floats on one thread, negative on the other.
    int64_t found[2] = {0, 0};
    auto check = [&](uint32_t sign, int64_t& count) {
      std::vector<float> in(kBatch), block(kBatch);
      for (uint32_t from = 0; from < kLimit; from += kBatch) {
        const int n = int(kLimit - from < kBatch ? kLimit - from : kBatch);
        for (int i = 0; i < n; ++i) {
          const uint32_t b = (from + uint32_t(i)) | sign;
          std::memcpy(&in[size_t(i)], &b, sizeof b);
        }
        for (SineKernel kernel : kernels) {
          kernel(in.data(), block.data(), n);
          for (int i = 0; i < n; ++i)
            count += bitsOf<float, uint32_t>(block[size_t(i)]) !=
                     bitsOf<float, uint32_t>(roundedSine(in[size_t(i)]));
        }
      }
    };
    std::thread negative(check, 0x80000000u, std::ref(found[1]));
    check(0, found[0]);
    negative.join();
    differing = found[0] + found[1];
    checked = 2 * int64_t(kLimit);
  }
  state.counters["floats"] = double(checked);
  state.counters["kernels"] = double(kernels.size());
  state.counters["differing_floats"] = double(differing);
}
BENCHMARK(EveryFloatAgainstTheExactKernel)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
