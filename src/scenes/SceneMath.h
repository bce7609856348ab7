// Single-precision helpers for the scenes' formulas: the library functions
// run in double precision and are rounded back to float at once, and
// R(a, b, c) applied to a vector is written rotated(a, b, c, v).
#pragma once

#include <cmath>

#include "gfx/Matrix3.h"
#include "gfx/Vec3.h"

namespace scenemath {

inline float fsin(float x) { return float(std::sin(double(x))); }
inline float fcos(float x) { return float(std::cos(double(x))); }
inline float ftanh(float x) { return float(std::tanh(double(x))); }

// Matrix3::fromAngles(a, b, c) applied to v.
inline Vec3 rotated(float a, float b, float c, const Vec3& v) {
  return v.transform(Matrix3::fromAngles(a, b, c));
}

}  // namespace scenemath
