#include "glfixed/Matrix4.h"

#include <cmath>
#include <cstring>

namespace glfixed {

Matrix4 Matrix4::identity() {
  Matrix4 r{};
  r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0f;
  return r;
}

void Matrix4::multiply(const Matrix4& b) {
  float r[16];
  for (int col = 0; col < 4; ++col)
    for (int row = 0; row < 4; ++row) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += m[k * 4 + row] * b.m[col * 4 + k];
      r[col * 4 + row] = sum;
    }
  std::memcpy(m, r, sizeof r);
}

void Matrix4::translate(float x, float y, float z) {
  // Only the last column changes.
  for (int row = 0; row < 4; ++row)
    m[12 + row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
}

void Matrix4::rotate(float angle, float x, float y, float z) {
  const float radians = angle * float(M_PI / 180.0);
  const float s = float(std::sin(double(radians)));
  const float c = float(std::cos(double(radians)));
  const float length = std::sqrt(x * x + y * y + z * z);
  if (length == 0.0f) return;
  x /= length;
  y /= length;
  z /= length;
  const float one = 1.0f - c;
  Matrix4 r = identity();
  r.m[0] = x * x * one + c;
  r.m[1] = y * x * one + z * s;
  r.m[2] = x * z * one - y * s;
  r.m[4] = x * y * one - z * s;
  r.m[5] = y * y * one + c;
  r.m[6] = y * z * one + x * s;
  r.m[8] = x * z * one + y * s;
  r.m[9] = y * z * one - x * s;
  r.m[10] = z * z * one + c;
  multiply(r);
}

void Matrix4::scale(float x, float y, float z) {
  for (int row = 0; row < 4; ++row) {
    m[row] *= x;
    m[4 + row] *= y;
    m[8 + row] *= z;
  }
}

void Matrix4::ortho(double l, double r, double b, double t, double n, double f) {
  Matrix4 o = identity();
  o.m[0] = float(2.0 / (r - l));
  o.m[5] = float(2.0 / (t - b));
  o.m[10] = float(-2.0 / (f - n));
  o.m[12] = float(-(r + l) / (r - l));
  o.m[13] = float(-(t + b) / (t - b));
  o.m[14] = float(-(f + n) / (f - n));
  multiply(o);
}

void Matrix4::frustum(double l, double r, double b, double t, double n, double f) {
  Matrix4 o{};
  o.m[0] = float(2.0 * n / (r - l));
  o.m[5] = float(2.0 * n / (t - b));
  o.m[8] = float((r + l) / (r - l));
  o.m[9] = float((t + b) / (t - b));
  o.m[10] = float(-(f + n) / (f - n));
  o.m[11] = -1.0f;
  o.m[14] = float(-2.0 * f * n / (f - n));
  multiply(o);
}

void Matrix4::perspective(double fovy, double aspect, double n, double f) {
  // As GLU computes it: in double, then handed over as a matrix of doubles
  // that GL rounds to float.
  const double radians = fovy / 2.0 * M_PI / 180.0;
  const double deltaZ = f - n;
  const double sine = std::sin(radians);
  if (deltaZ == 0.0 || sine == 0.0 || aspect == 0.0) return;
  const double cotangent = std::cos(radians) / sine;
  Matrix4 o{};
  o.m[0] = float(cotangent / aspect);
  o.m[5] = float(cotangent);
  o.m[10] = float(-(f + n) / deltaZ);
  o.m[11] = -1.0f;
  o.m[14] = float(-2.0 * n * f / deltaZ);
  multiply(o);
}

namespace {
void normalise(float v[3]) {
  const float r = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (r == 0.0f) return;
  v[0] /= r;
  v[1] /= r;
  v[2] /= r;
}
void cross(const float a[3], const float b[3], float out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}
}  // namespace

void Matrix4::lookAt(double eyeX, double eyeY, double eyeZ, double centerX, double centerY,
                     double centerZ, double upX, double upY, double upZ) {
  // GLU works in float here, then translates by the eye in double.
  float forward[3] = {float(centerX - eyeX), float(centerY - eyeY), float(centerZ - eyeZ)};
  float up[3] = {float(upX), float(upY), float(upZ)};
  float side[3];
  normalise(forward);
  cross(forward, up, side);
  normalise(side);
  cross(side, forward, up);
  Matrix4 o = identity();
  o.m[0] = side[0];
  o.m[4] = side[1];
  o.m[8] = side[2];
  o.m[1] = up[0];
  o.m[5] = up[1];
  o.m[9] = up[2];
  o.m[2] = -forward[0];
  o.m[6] = -forward[1];
  o.m[10] = -forward[2];
  multiply(o);
  translate(float(-eyeX), float(-eyeY), float(-eyeZ));
}

void Matrix4::normalMatrix(float out[9]) const {
  const float a = m[0], b = m[4], c = m[8];
  const float d = m[1], e = m[5], f = m[9];
  const float g = m[2], h = m[6], i = m[10];
  const float A = e * i - f * h, B = -(d * i - f * g), C = d * h - e * g;
  const float det = a * A + b * B + c * C;
  if (det == 0.0f) {
    const float unit[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    std::memcpy(out, unit, sizeof unit);
    return;
  }
  const float inv = 1.0f / det;
  // inverse(M) = adjugate / det; its transpose, column-major, is the
  // cofactor matrix laid out by columns.
  const float D = -(b * i - c * h), E = a * i - c * g, F = -(a * h - b * g);
  const float G = b * f - c * e, H = -(a * f - c * d), I = a * e - b * d;
  // Cofactor matrix rows: (A B C), (D E F), (G H I); element (row r, col k)
  // goes to out[k * 3 + r].
  out[0] = A * inv; out[3] = B * inv; out[6] = C * inv;
  out[1] = D * inv; out[4] = E * inv; out[7] = F * inv;
  out[2] = G * inv; out[5] = H * inv; out[8] = I * inv;
}

void Matrix4::transform(const float in[4], float out[4]) const {
  for (int row = 0; row < 4; ++row)
    out[row] = m[row] * in[0] + m[4 + row] * in[1] + m[8 + row] * in[2] + m[12 + row] * in[3];
}

}  // namespace glfixed
