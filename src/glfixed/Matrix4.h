// 4x4 single-precision matrices in OpenGL's column-major order, with the
// products the fixed-function transforms and GLU's helpers make. Each
// operation multiplies on the right, as glMultMatrix does.
#pragma once

namespace glfixed {

struct Matrix4 {
  float m[16];

  static Matrix4 identity();
  // this = this * other.
  void multiply(const Matrix4& other);
  void translate(float x, float y, float z);
  // Angle in degrees about (x, y, z), normalised first (glRotatef).
  void rotate(float angle, float x, float y, float z);
  void scale(float x, float y, float z);
  void ortho(double left, double right, double bottom, double top, double nearZ, double farZ);
  void frustum(double left, double right, double bottom, double top, double nearZ, double farZ);
  void perspective(double fovy, double aspect, double nearZ, double farZ);
  void lookAt(double eyeX, double eyeY, double eyeZ, double centerX, double centerY,
              double centerZ, double upX, double upY, double upZ);
  // The transposed inverse of the upper 3x3 (how normals go to eye space),
  // column-major; the identity when the matrix is singular.
  void normalMatrix(float out[9]) const;
  // this * (x, y, z, w).
  void transform(const float in[4], float out[4]) const;
};

}  // namespace glfixed
