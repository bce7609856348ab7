#include "gfx/Matrix3.h"

#include <cmath>

Matrix3 Matrix3::fromAngles(float a, float b, float c) {
  const float ca = float(std::cos(double(a)));
  const float sa = float(std::sin(double(a)));
  const float cb = float(std::cos(double(b)));
  const float sb = float(std::sin(double(b)));
  const float cc = float(std::cos(double(c)));
  const float sc = float(std::sin(double(c)));
  Matrix3 r;
  r.m[0] = cc * cb;
  r.m[1] = sc * cb;
  r.m[2] = -sb;
  r.m[3] = cc * sb * sa - sc * ca;
  r.m[4] = sc * sb * sa + cc * ca;
  r.m[5] = cb * sa;
  r.m[6] = cc * sb * ca + sc * sa;
  r.m[7] = sc * sb * ca - cc * sa;
  r.m[8] = cb * ca;
  return r;
}
