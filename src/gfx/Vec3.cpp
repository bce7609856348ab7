#include "gfx/Vec3.h"

#include <cmath>

#include "gfx/Matrix3.h"

float Vec3::length() const {
  const double sum = double(x) * double(x) + double(y) * double(y) + double(z) * double(z);
  return float(std::sqrt(sum));
}

void Vec3::normalize() {
  const float l = length();
  x /= l;
  y /= l;
  z /= l;
}

Vec3 Vec3::cross(const Vec3& v) const {
  return Vec3(z * v.y - y * v.z, x * v.z - z * v.x, y * v.x - x * v.y);
}

Vec3 Vec3::transform(const Matrix3& matrix) const {
  const float* m = matrix.m;
  return Vec3(m[0] * x + m[3] * y + m[6] * z, m[1] * x + m[4] * y + m[7] * z,
              m[2] * x + m[5] * y + m[8] * z);
}
