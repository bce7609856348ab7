// Three single-precision floats: positions, directions and normals of every
// scene and toolkit object.
#pragma once

struct Matrix3;

struct Vec3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  Vec3() = default;
  constexpr Vec3(float x, float y, float z) : x(x), y(y), z(z) {}

  Vec3 add(const Vec3& v) const { return Vec3(x + v.x, y + v.y, z + v.z); }
  Vec3 sub(const Vec3& v) const { return Vec3(x - v.x, y - v.y, z - v.z); }
  Vec3 scale(float s) const { return Vec3(x * s, y * s, z * s); }
  // Squares summed and rooted in double precision, rounded once.
  float length() const;
  // Divides by length() in place; the zero vector becomes non-finite.
  void normalize();
  // v x this: the argument crossed with the receiver, the negative of the
  // usual this x v. For the right-handed a x b write b.cross(a).
  Vec3 cross(const Vec3& v) const;
  // m * this.
  Vec3 transform(const Matrix3& m) const;

  Vec3 operator+(const Vec3& v) const { return add(v); }
  Vec3 operator-(const Vec3& v) const { return sub(v); }
  Vec3 operator*(float s) const { return scale(s); }
};
