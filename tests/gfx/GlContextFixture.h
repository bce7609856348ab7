// A test fixture with a real OpenGL context (Mesa's llvmpipe under SDL's
// offscreen video), made once per test program through the platform layer
// and reset to a known state before every test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/HiddenGlContext.h"
#include "platform/Gl.h"

class GlContextTest : public ::testing::Test {
 public:
  static constexpr int kSize = 64;

  // Kept for the whole program: contexts are costly and GL objects of one
  // test never leak into the next one's pixels (each test clears).
  static void SetUpTestSuite() {
    if (!context()) context() = new HiddenGlContext(kSize, kSize);
  }

 protected:
  void SetUp() override {
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDepthMask(GL_TRUE);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }

  void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }

  // The back buffer as RGB bytes, bottom row first.
  static std::vector<uint8_t> readPixels() {
    std::vector<uint8_t> pixels(size_t(kSize) * kSize * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }
  struct Rgb {
    int r, g, b;
  };
  static Rgb pixel(const std::vector<uint8_t>& pixels, int x, int y) {
    const uint8_t* p = &pixels[(size_t(y) * kSize + size_t(x)) * 3];
    return {p[0], p[1], p[2]};
  }
  static GLint integer(GLenum what) {
    GLint value = 0;
    glGetIntegerv(what, &value);
    return value;
  }

 private:
  static HiddenGlContext*& context() {
    static HiddenGlContext* instance = nullptr;
    return instance;
  }
};
