#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "gfx/Color.h"
#include "gfx/Matrix3.h"
#include "gfx/PackColor.h"
#include "gfx/Vec3.h"

namespace {

void expectNear(const Vec3& v, float x, float y, float z) {
  EXPECT_NEAR(v.x, x, 1e-6f);
  EXPECT_NEAR(v.y, y, 1e-6f);
  EXPECT_NEAR(v.z, z, 1e-6f);
}

TEST(Vec3, CrossTakesTheArgumentFirst) {
  // a.cross(b) is b x a: the face normals and tube frames depend on it.
  expectNear(Vec3(1, 0, 0).cross(Vec3(0, 1, 0)), 0, 0, -1);
  expectNear(Vec3(0, 1, 0).cross(Vec3(1, 0, 0)), 0, 0, 1);
  expectNear(Vec3(2, 3, 4).cross(Vec3(5, 6, 7)), 3, -6, 3);
}

TEST(Vec3, LengthNormalizeAndArithmetic) {
  Vec3 v(3, 4, 12);
  EXPECT_EQ(v.length(), 13.0f);
  v.normalize();
  expectNear(v, 3.0f / 13, 4.0f / 13, 12.0f / 13);
  expectNear(Vec3(1, 2, 3).add(Vec3(1, 1, 1)).sub(Vec3(0, 0, 1)).scale(2), 4, 6, 6);
  Vec3 zero(0, 0, 0);
  zero.normalize();
  EXPECT_FALSE(std::isfinite(zero.x));
}

TEST(Matrix3, FromAnglesRotatesXThenYThenZ) {
  const float c = 0.7f;
  expectNear(Vec3(1, 0, 0).transform(Matrix3::fromAngles(0, 0, c)), std::cos(c), std::sin(c), 0);
  expectNear(Vec3(0, 1, 0).transform(Matrix3::fromAngles(c, 0, 0)), 0, std::cos(c), std::sin(c));
  // About Y by b takes z towards x.
  expectNear(Vec3(0, 0, 1).transform(Matrix3::fromAngles(0, c, 0)), std::sin(c), 0, std::cos(c));
  // Composition order: X first, then Z. (0, 1, 0) -> X by 90 -> (0, 0, 1),
  // then Z leaves it alone.
  expectNear(Vec3(0, 1, 0).transform(Matrix3::fromAngles(1.5707964f, 0, 1.0f)), 0, 0, 1);
  // Stored by columns: the first column is the image of (1, 0, 0).
  const Matrix3 m = Matrix3::fromAngles(0.3f, -0.4f, 1.1f);
  const Vec3 image = Vec3(1, 0, 0).transform(m);
  EXPECT_EQ(image.x, m.m[0]);
  EXPECT_EQ(image.y, m.m[1]);
  EXPECT_EQ(image.z, m.m[2]);
}

// Column j of m: the image of the j-th axis.
Vec3 column(const Matrix3& m, int j) { return Vec3(m.m[3 * j], m.m[3 * j + 1], m.m[3 * j + 2]); }

float dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

TEST(Matrix3, EveryMatrixIsARotation) {
  // Orthonormal columns and determinant +1 (no mirror) over a spread of angles.
  for (float a = -3.0f; a <= 3.0f; a += 0.7f)
    for (float b = -3.0f; b <= 3.0f; b += 0.9f)
      for (float c = -3.0f; c <= 3.0f; c += 1.1f) {
        SCOPED_TRACE(testing::Message() << a << ", " << b << ", " << c);
        const Matrix3 m = Matrix3::fromAngles(a, b, c);
        for (int i = 0; i < 3; ++i)
          for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(dot(column(m, i), column(m, j)), i == j ? 1.0f : 0.0f, 1e-5f);
        // det = c0 . (c1 x c2); Vec3::cross takes its receiver second.
        const Vec3 c1xc2 = column(m, 2).cross(column(m, 1));
        EXPECT_NEAR(dot(column(m, 0), c1xc2), 1.0f, 1e-5f);
      }
}

TEST(Matrix3, SingleAngleRotationsMoveTheAxesRightHandedly) {
  const float r = 0.6f, c = std::cos(r), s = std::sin(r);
  const Vec3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
  const Matrix3 aboutX = Matrix3::fromAngles(r, 0, 0);
  expectNear(x.transform(aboutX), 1, 0, 0);
  expectNear(y.transform(aboutX), 0, c, s);
  expectNear(z.transform(aboutX), 0, -s, c);
  const Matrix3 aboutY = Matrix3::fromAngles(0, r, 0);
  expectNear(x.transform(aboutY), c, 0, -s);
  expectNear(y.transform(aboutY), 0, 1, 0);
  expectNear(z.transform(aboutY), s, 0, c);
  const Matrix3 aboutZ = Matrix3::fromAngles(0, 0, r);
  expectNear(x.transform(aboutZ), c, s, 0);
  expectNear(y.transform(aboutZ), -s, c, 0);
  expectNear(z.transform(aboutZ), 0, 0, 1);
}

TEST(Matrix3, ThreeAnglesComposeAsXThenYThenZ) {
  const float a = 0.4f, b = -1.2f, c = 2.3f;
  const Matrix3 all = Matrix3::fromAngles(a, b, c);
  for (const Vec3& v : {Vec3(1, 0, 0), Vec3(0, 1, 0), Vec3(0, 0, 1), Vec3(0.3f, -2, 5)}) {
    const Vec3 stepwise = v.transform(Matrix3::fromAngles(a, 0, 0))
                              .transform(Matrix3::fromAngles(0, b, 0))
                              .transform(Matrix3::fromAngles(0, 0, c));
    const Vec3 once = v.transform(all);
    EXPECT_NEAR(once.x, stepwise.x, 2e-5f);
    EXPECT_NEAR(once.y, stepwise.y, 2e-5f);
    EXPECT_NEAR(once.z, stepwise.z, 2e-5f);
  }
}

TEST(Color, StoredBlueGreenRedAlpha) {
  const Color c(1, 0.5f, 0.25f, 1);
  float stored[4];
  static_assert(sizeof(Color) == sizeof stored, "four packed floats");
  std::memcpy(stored, &c, sizeof stored);
  EXPECT_EQ(stored[0], 0.25f);
  EXPECT_EQ(stored[1], 0.5f);
  EXPECT_EQ(stored[2], 1.0f);
  EXPECT_EQ(stored[3], 1.0f);
  const Color d = Color(1, 2, 3, 4).modulate(Color(2, 2, 2, 0.5f)).add(Color(1, 1, 1, 1)).scale(2);
  EXPECT_EQ(d.red, 6.0f);
  EXPECT_EQ(d.green, 10.0f);
  EXPECT_EQ(d.blue, 14.0f);
  EXPECT_EQ(d.alpha, 6.0f);
  const Color zero;
  EXPECT_EQ(zero.red + zero.green + zero.blue + zero.alpha, 0.0f);
}

uint8_t byteAt(uint32_t pixel, int i) {
  uint8_t bytes[4];
  std::memcpy(bytes, &pixel, 4);
  return bytes[i];
}

TEST(PackColor, ClampsTruncatesAndOrdersRedFirst) {
  const uint32_t p = packColor(Color(2, -1, 0.5f, 1));
  EXPECT_EQ(byteAt(p, 0), 255);
  EXPECT_EQ(byteAt(p, 1), 0);
  EXPECT_EQ(byteAt(p, 2), 127);
  EXPECT_EQ(byteAt(p, 3), 255);
  EXPECT_EQ(byteAt(packColor(Color(0.999f, 1.0f, 0, 0)), 0), 254);
  EXPECT_EQ(byteAt(packColor(Color(0.999f, 1.0f, 0, 0)), 1), 255);
  // Not a number packs as 0 instead of an undefined conversion.
  EXPECT_EQ(packColor(Color(NAN, NAN, NAN, NAN)), 0u);
  for (int b = 0; b < 256; ++b)
    EXPECT_EQ(byteAt(packColor(Color(float(b) * 0.003921568859368563f, 0, 0, 0)), 0), b);
}

}  // namespace
