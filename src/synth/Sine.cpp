#include "synth/Sine.h"

#include <cmath>
#include <cstring>

// The vector helpers below are all inlined into their kernels, so the note
// that passing 256-bit vectors by value differs with and without AVX concerns
// no call that exists.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

// Four lanes of doubles and of their bits, four floats: the block kernels
// work on these. Where the processor has no 256-bit registers the compiler
// splits each operation into two of 128 bits; every lane still takes exactly
// the operations of the scalar code, so all widths give the same bits.
typedef double Doubles __attribute__((vector_size(32)));
typedef uint64_t Bits __attribute__((vector_size(32)));
typedef float Floats __attribute__((vector_size(16)));
typedef uint32_t FloatBits __attribute__((vector_size(16)));
typedef int64_t SignedBits __attribute__((vector_size(32)));

// pi / 2 in three parts; the first two have 33 significant bits, so their
// products with a quotient below 2^20 are exact.
constexpr double kHalfPiA = 0x1.921fb54400000p+0;
constexpr double kHalfPiB = 0x1.0b4611a600000p-34;
constexpr double kHalfPiC = 0x1.3198a2e037073p-69;
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
// Adding it rounds to an integer (to nearest) held in the low mantissa bits.
constexpr double kRoundToInteger = 0x1.8p52;
// Below this size sin(x) rounds to x itself (the sign of zero included).
constexpr double kTiny = 0x1p-27;
constexpr double kLimit = 0x1p20;
constexpr uint32_t kLimitFloatBits = 0x49800000;  // 2^20 as a float

// With s = r^2 on |r| <= pi / 4 + 0.01, Chebyshev-fitted, constant term first:
// (sin(r) / r - 1) / s to within 2e-20,
constexpr double kS0 = -0x1.5555555555555p-3;
constexpr double kS1 = 0x1.1111111111110p-7;
constexpr double kS2 = -0x1.a01a01a01984bp-13;
constexpr double kS3 = 0x1.71de3a5444193p-19;
constexpr double kS4 = -0x1.ae6453e1ed29dp-26;
constexpr double kS5 = 0x1.612158d39590bp-33;
constexpr double kS6 = -0x1.ab01958dd08f7p-41;
// (cos(r) - 1 + s / 2) / s^2 to within 2e-18.
constexpr double kC0 = 0x1.5555555555555p-5;
constexpr double kC1 = -0x1.6c16c16c1690ap-10;
constexpr double kC2 = 0x1.a01a019f3910ap-16;
constexpr double kC3 = -0x1.27e4f9fc2b4bcp-22;
constexpr double kC4 = 0x1.1eeb4c6e0c1c7p-29;
constexpr double kC5 = -0x1.906960d0b1271p-37;

// The quick kernel's reduction by half turns, and its polynomial: with
// s = r^2 on |r| <= pi / 2, (sin(r) / r - 1) / s to within 2^-50 relative
// to sin(r), Chebyshev-fitted, constant term first.
constexpr double kOneOverPi = 0x1.45f306dc9c883p-2;
constexpr double kPiA = 2.0 * kHalfPiA;
constexpr double kPiB = 2.0 * kHalfPiB;
constexpr double kPiC = 2.0 * kHalfPiC;
constexpr double kQuickS0 = -0x1.555555555554fp-3;
constexpr double kQuickS1 = 0x1.1111111110064p-7;
constexpr double kQuickS2 = -0x1.a01a019e695f4p-13;
constexpr double kQuickS3 = 0x1.71de394e3dc0dp-19;
constexpr double kQuickS4 = -0x1.ae63bdeee4c6cp-26;
constexpr double kQuickS5 = 0x1.60f6ee88df77ap-33;
constexpr double kQuickS6 = -0x1.a108fba8478aap-41;
// The quick result is within 2^-48 of the sine, relative; a double whose low
// 29 bits (those that rounding to float drops) lie within 2^12 units of
// half-way may round either way and goes to the exact kernel.
constexpr int64_t kRoundingBits = (int64_t(1) << 29) - 1;
constexpr int64_t kHalfWay = int64_t(1) << 28;
constexpr int64_t kNearHalfWay = int64_t(1) << 12;

inline uint64_t bitsOf(double x) {
  uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}
inline double fromBits(uint64_t b) {
  double x;
  std::memcpy(&x, &b, sizeof x);
  return x;
}
inline __attribute__((always_inline)) Bits bitsOf(const Doubles& x) { return reinterpret_cast<Bits>(x); }
inline __attribute__((always_inline)) Doubles fromBits(const Bits& b) { return reinterpret_cast<Doubles>(b); }

inline double tinyOr(double x, double y) { return std::fabs(x) < kTiny ? x : y; }
inline __attribute__((always_inline)) Doubles tinyOr(const Doubles& x, const Doubles& y) {
  const Doubles magnitude = fromBits(bitsOf(x) & ~(Bits{} + (uint64_t(1) << 63)));
  return magnitude < kTiny ? x : y;
}

inline bool isOdd(uint64_t b) { return (b & 1) != 0; }
inline __attribute__((always_inline)) auto isOdd(const Bits& b) { return (b & 1) != 0; }
inline double pick(bool useFirst, double a, double b) { return useFirst ? a : b; }
template <typename Mask>
inline __attribute__((always_inline)) Doubles pick(const Mask& useFirst, const Doubles& a, const Doubles& b) {
  return useFirst ? a : b;
}

// sin(x) for |x| below 2^20, on a double or on lanes of them: x = k pi / 2 + r
// with r carried as rh + rl, |r| <= pi / 4; sin(x) is sin(r), cos(r),
// -sin(r) or -cos(r) as k mod 4 is 0 to 3. Both are computed and one kept.
template <typename D>
inline __attribute__((always_inline)) D sineOfReduced(const D& x) {
  const D t = x * kTwoOverPi + kRoundToInteger;
  const D k = t - kRoundToInteger;
  const D r1 = x - k * kHalfPiA;  // exact
  const D w = k * kHalfPiB;       // exact
  const D rh = r1 - w;
  const D rl = ((r1 - rh) - w) - k * kHalfPiC;
  const D s = rh * rh;

  D qs = s * kS6 + kS5;
  qs = qs * s + kS4;
  qs = qs * s + kS3;
  qs = qs * s + kS2;
  qs = qs * s + kS1;
  qs = qs * s + kS0;
  // sin(rh + rl) = sin(rh) + rl cos(rh) and cos(rh + rl) = cos(rh) - rl sin(rh),
  // the last terms needing few digits: rl reaches some units of rh's last
  // place for large arguments.
  const D sinR = rh + (rh * s * qs + rl * (1.0 - 0.5 * s * (1.0 - s * (1.0 / 12.0))));

  D qc = s * kC5 + kC4;
  qc = qc * s + kC3;
  qc = qc * s + kC2;
  qc = qc * s + kC1;
  qc = qc * s + kC0;
  // 1 - s / 2 is rounded once and its rounding error added back.
  const D half = 0.5 * s;
  const D one = 1.0 - half;
  const D cosR = one + (((1.0 - one) - half) + (s * s * qc - rh * rl * (1.0 - s * (1.0 / 6.0))));

  const auto quadrant = bitsOf(t);
  const D y = pick(isOdd(quadrant), cosR, sinR);
  // k mod 4 of 2 or 3 flips the sign.
  return tinyOr(x, fromBits(bitsOf(y) ^ ((quadrant >> 1) << 63)));
}

// A quicker sine of four lanes: x = k pi + r with |r| <= pi / 2, and
// sin(x) = (-1)^k sin(r) from one polynomial, which needs no choice between
// sine and cosine per lane. Its terms are summed in Estrin's order, pairs
// first, which shortens the chain of dependent steps: the kernel's speed is
// set by that chain more than by the count of operations. r (1 + s q) keeps
// the sign of a zero and returns tiny arguments unchanged. near is set in the
// lanes whose float rounding it cannot decide.
inline __attribute__((always_inline)) Doubles quickSine(const Doubles& x, SignedBits& near) {
  const Doubles t = x * kOneOverPi + kRoundToInteger;
  const Doubles k = t - kRoundToInteger;
  const Doubles r = ((x - k * kPiA) - k * kPiB) - k * kPiC;
  const Doubles s = r * r;
  const Doubles s2 = s * s;
  const Doubles s4 = s2 * s2;
  const Doubles q01 = s * kQuickS1 + kQuickS0;
  const Doubles q23 = s * kQuickS3 + kQuickS2;
  const Doubles q45 = s * kQuickS5 + kQuickS4;
  const Doubles q03 = s2 * q23 + q01;
  const Doubles q46 = s2 * kQuickS6 + q45;
  const Doubles q = s4 * q46 + q03;
  // An odd k flips the sign.
  const Doubles y = fromBits(bitsOf(r * (1.0 + s * q)) ^ (bitsOf(t) << 63));
  const SignedBits low = reinterpret_cast<SignedBits>(bitsOf(y) + uint64_t(kNearHalfWay - kHalfWay)) & kRoundingBits;
  near = low < 2 * kNearHalfWay;
  return y;
}

// Eight sines from in to out; in may be out.
inline __attribute__((always_inline)) void sineChunk(const float* in, float* out) {
  Floats lo, hi;
  std::memcpy(&lo, in, sizeof lo);
  std::memcpy(&hi, in + 4, sizeof hi);
  const FloatBits magnitudeMask = FloatBits{} + 0x7FFFFFFFu;
  const auto big = ((reinterpret_cast<FloatBits>(lo) & magnitudeMask) >= kLimitFloatBits) |
                   ((reinterpret_cast<FloatBits>(hi) & magnitudeMask) >= kLimitFloatBits);
  uint64_t any[2];
  std::memcpy(any, &big, sizeof any);
  if (any[0] | any[1]) {
    for (int j = 0; j < 8; ++j) out[j] = roundedSine(in[j]);
    return;
  }
  const Doubles xLo = __builtin_convertvector(lo, Doubles);
  const Doubles xHi = __builtin_convertvector(hi, Doubles);
  SignedBits nearLo, nearHi;
  Doubles sLo = quickSine(xLo, nearLo);
  Doubles sHi = quickSine(xHi, nearHi);
  const SignedBits near = nearLo | nearHi;
  uint64_t anyNear[4];
  std::memcpy(anyNear, &near, sizeof anyNear);
  if (anyNear[0] | anyNear[1] | anyNear[2] | anyNear[3]) {
    sLo = sineOfReduced(xLo);
    sHi = sineOfReduced(xHi);
  }
  const Floats yLo = __builtin_convertvector(sLo, Floats);
  const Floats yHi = __builtin_convertvector(sHi, Floats);
  std::memcpy(out, &yLo, sizeof yLo);
  std::memcpy(out + 4, &yHi, sizeof yHi);
}

inline __attribute__((always_inline)) void sineBlock(const float* in, float* out, int n) {
  int i = 0;
  for (; i + 8 <= n; i += 8) sineChunk(in + i, out + i);
  if (i < n) {
    float rest[8] = {};
    std::memcpy(rest, in + i, sizeof(float) * size_t(n - i));
    sineChunk(rest, rest);
    std::memcpy(out + i, rest, sizeof(float) * size_t(n - i));
  }
}

void portableKernel(const float* in, float* out, int n) { sineBlock(in, out, n); }

// 256-bit registers where the processor has them. Not on Windows, where the
// compiler cannot keep the stack aligned for them.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(_WIN32)
#define KYL_WIDE_SINE 1
__attribute__((target("avx2"))) void wideKernel(const float* in, float* out, int n) {
  sineBlock(in, out, n);
}
#endif

SineKernel chooseKernel() {
  const SineKernel wide = wideSineKernel();
  return wide ? wide : portableKernel;
}

}  // namespace

double sine(double x) {
  if (!(std::fabs(x) < kLimit)) return std::sin(x);
  return sineOfReduced(x);
}

void roundedSines(const float* in, float* out, int n) {
  static const SineKernel kernel = chooseKernel();
  kernel(in, out, n);
}

SineKernel portableSineKernel() { return portableKernel; }

SineKernel wideSineKernel() {
#ifdef KYL_WIDE_SINE
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return wideKernel;
#endif
  return nullptr;
}
