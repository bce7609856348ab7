// A 3x3 rotation built from three angles; the scenes rotate cameras, orbits
// and particle clouds with it.
#pragma once

struct Matrix3 {
  // Stored by columns: m[0..2] the first column, m[3..5] the second,
  // m[6..8] the third.
  float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

  // Rz(c) * Ry(b) * Rx(a): about X by a, then Y by b, then Z by c (radians).
  static Matrix3 fromAngles(float a, float b, float c);
};
