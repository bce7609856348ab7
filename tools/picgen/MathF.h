// Single-precision wrappers of the double-precision library functions: every
// call is evaluated in double and rounded to float at once, so the pictures
// come out the same on every compiler and library.
#pragma once

#include <cmath>

namespace picgen {

constexpr float kPi = 3.14159265f;

inline float fsin(float x) { return float(std::sin(double(x))); }
inline float fcos(float x) { return float(std::cos(double(x))); }
inline float fsqrt(float x) { return float(std::sqrt(double(x))); }
inline float fpow(float x, float y) { return float(std::pow(double(x), double(y))); }
inline float fexp(float x) { return float(std::exp(double(x))); }
inline float fatan2(float y, float x) { return float(std::atan2(double(y), double(x))); }
inline float ffloor(float x) { return float(std::floor(double(x))); }
inline float flength(float x, float y) { return fsqrt(x * x + y * y); }

}  // namespace picgen
