// The layer's matrices against the ones OpenGL itself makes from the same
// calls (Mesa's fixed-function pipeline on a hidden context).
#include <gtest/gtest.h>

#include "gfx/HiddenGlContext.h"
#include "glfixed/Matrix4.h"
#include "platform/Gl.h"

namespace {

void expectNear(const glfixed::Matrix4& ours, const char* what) {
  float theirs[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, theirs);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(ours.m[i], theirs[i], 2e-6f) << what << " element " << i;
}

TEST(GlFixedMatrix, ProductsMatchOpenGL) {
  HiddenGlContext context(64, 48);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glfixed::Matrix4 m = glfixed::Matrix4::identity();

  gluPerspective(90.0, 4.0 / 3.0, double(0.1f), 100.0);
  m.perspective(90.0, 4.0 / 3.0, double(0.1f), 100.0);
  expectNear(m, "perspective");

  gluLookAt(3.0, -2.0, 7.5, 0.5, 0.25, 0.0, 0.0, 1.0, 0.0);
  m.lookAt(3.0, -2.0, 7.5, 0.5, 0.25, 0.0, 0.0, 1.0, 0.0);
  expectNear(m, "lookAt");

  glRotatef(37.5f, 0.3f, 1.0f, -0.2f);
  m.rotate(37.5f, 0.3f, 1.0f, -0.2f);
  expectNear(m, "rotate");

  glTranslatef(1.5f, -4.0f, 0.25f);
  m.translate(1.5f, -4.0f, 0.25f);
  expectNear(m, "translate");

  glScalef(2.0f, 0.5f, 3.0f);
  m.scale(2.0f, 0.5f, 3.0f);
  expectNear(m, "scale");

  glLoadIdentity();
  gluOrtho2D(-1.0, 1.0, 1.0, -1.0);
  glfixed::Matrix4 o = glfixed::Matrix4::identity();
  o.ortho(-1.0, 1.0, 1.0, -1.0, -1.0, 1.0);
  expectNear(o, "ortho");
}

TEST(GlFixedMatrix, NormalMatrixUndoesTheRotationAndScale) {
  glfixed::Matrix4 m = glfixed::Matrix4::identity();
  m.rotate(30.0f, 0.0f, 0.0f, 1.0f);
  m.scale(2.0f, 2.0f, 2.0f);
  float n[9];
  m.normalMatrix(n);
  // The inverse transpose of (rotation x 2) is rotation / 2.
  EXPECT_NEAR(n[0], m.m[0] / 4.0f, 1e-6f);
  EXPECT_NEAR(n[1], m.m[1] / 4.0f, 1e-6f);
  EXPECT_NEAR(n[3], m.m[4] / 4.0f, 1e-6f);
  EXPECT_NEAR(n[8], 0.5f, 1e-6f);
}

}  // namespace
