// A program the driver refuses, on the layer over a real OpenGL ES context:
// GL's own answer, not an abort. The refusal is written once, every draw
// that needs the program is skipped with GL_INVALID_OPERATION, and the rest
// goes on.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/HiddenGlContext.h"
#include "glfixed/Context.h"
#include "platform/Gl.h"

namespace {

uint32_t pixelAt(int x, int y) {
  uint8_t rgba[4] = {};
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  return uint32_t(rgba[0]) << 16 | uint32_t(rgba[1]) << 8 | rgba[2];
}

void drawRedSquare() {
  glColor3f(1.0f, 0.0f, 0.0f);
  glBegin(GL_QUADS);
  glVertex2f(-1.0f, -1.0f);
  glVertex2f(1.0f, -1.0f);
  glVertex2f(1.0f, 1.0f);
  glVertex2f(-1.0f, 1.0f);
  glEnd();
}

}  // namespace

TEST(GlFixedErrors, ARefusedProgramSkipsItsDrawsWithInvalidOperation) {
  HiddenGlContext context(32, 32);
  glViewport(0, 0, 32, 32);
  glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

  // The program of the plain coloured square's state, refused by the driver.
  glfixed::Context& layer = glfixed::Context::get();
  const bool noTextures[glfixed::kUnits] = {false, false};
  glfixed::ShaderKey key =
      glfixed::ShaderKey::from(layer.server, layer.textures, noTextures, noTextures);
  key.flatColor = true;  // every vertex of the square has one colour
  testing::internal::CaptureStderr();
  EXPECT_EQ(layer.shaders().build(key.packed(), "this is not GLSL", "nor is this", layer.es),
            nullptr);
  drawRedSquare();
  const GLenum first = glGetError();
  drawRedSquare();
  const GLenum second = glGetError();
  const std::string said = testing::internal::GetCapturedStderr();

  EXPECT_EQ(first, GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(second, GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "reading the error clears it";
  EXPECT_EQ(pixelAt(16, 16), 0x0000FFu) << "the draws were skipped";
  const size_t at = said.find("glfixed: a shader does not compile");
  EXPECT_NE(at, std::string::npos) << said;
  EXPECT_EQ(said.find("glfixed:", at + 1), std::string::npos) << "said once: " << said;

  // Another state has its own program, and draws.
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.5f);
  drawRedSquare();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(pixelAt(16, 16), 0xFF0000u);
  glfixed::Context::reset();
}
