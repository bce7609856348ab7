// Float-to-integer conversions that behave like the x86 conversion
// instructions: NaN or a value out of the 32-bit range gives INT32_MIN
// (never undefined behaviour), on every platform.
#pragma once

#include <cmath>
#include <cstdint>

#if defined(__SSE__) || defined(_M_X64)
#include <xmmintrin.h>
#endif

// Truncation toward zero (cvttss2si).
inline int32_t truncateToInt(float x) {
  if (!(x >= -2147483648.0f && x < 2147483648.0f)) return INT32_MIN;
  return int32_t(x);
}

// Rounding to nearest, ties to even (cvtss2si in the default mode). The
// instruction itself where there is one: the library's nearbyint is a call,
// and the chorus rounds twice a sample.
inline int32_t roundToInt(float x) {
  if (!(x >= -2147483648.0f && x < 2147483648.0f)) return INT32_MIN;
#if defined(__SSE__) || defined(_M_X64)
  return _mm_cvt_ss2si(_mm_set_ss(x));
#else
  return int32_t(std::nearbyint(x));
#endif
}
