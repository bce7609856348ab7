#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "GlContextFixture.h"
#include "gfx/Camera.h"
#include "gfx/ParticleSystem.h"
#include "gfx/ScreenTint.h"
#include "gfx/Texture.h"
#include "gfx/World.h"

namespace {

// Draws a full-viewport quad in its colour and notes the pass and alpha-test
// state it was drawn in.
class FlatQuad : public SceneObject {
 public:
  FlatQuad(float r, float g, float b) : r_(r), g_(g), b_(b) {}
  void render() override {
    drawnInPasses.push_back(currentPass);
    alphaTestWhileDrawn = glIsEnabled(GL_ALPHA_TEST) == GL_TRUE;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor4f(r_, g_, b_, 1);
    glBegin(GL_QUADS);
    glVertex3f(-1, -1, 0);
    glVertex3f(1, -1, 0);
    glVertex3f(1, 1, 0);
    glVertex3f(-1, 1, 0);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
  }
  std::vector<int> drawnInPasses;
  bool alphaTestWhileDrawn = false;

 private:
  float r_, g_, b_;
};

using DrawingTest = GlContextTest;

TEST_F(DrawingTest, TintOfAlphaZeroChangesNothingAndAlphaOneCovers) {
  glClearColor(0.2f, 0.4f, 0.6f, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  const std::vector<uint8_t> before = readPixels();
  const GLint stackBefore = integer(GL_PROJECTION_STACK_DEPTH);
  drawScreenTint(1, 0, 0, 0);
  EXPECT_EQ(readPixels(), before);
  drawScreenTint(1, 0, 0, 1);
  const std::vector<uint8_t> after = readPixels();
  for (int y : {0, 31, 63})
    for (int x : {0, 31, 63}) {
      const Rgb p = pixel(after, x, y);
      EXPECT_EQ(p.r, 255);
      EXPECT_EQ(p.g, 0);
      EXPECT_EQ(p.b, 0);
    }
  EXPECT_EQ(integer(GL_PROJECTION_STACK_DEPTH), stackBefore);
  EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(DrawingTest, TintRespectsTheCallersDepthTest) {
  // Left half nearer than the tint's depth 0.5, right half farther.
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glColor4f(0, 0, 1, 1);
  glBegin(GL_QUADS);
  glVertex3f(-1, -1, -0.5f);
  glVertex3f(0, -1, -0.5f);
  glVertex3f(0, 1, -0.5f);
  glVertex3f(-1, 1, -0.5f);
  glEnd();
  drawScreenTint(0, 1, 0, 1);
  const std::vector<uint8_t> p = readPixels();
  EXPECT_EQ(pixel(p, 10, 32).b, 255);
  EXPECT_EQ(pixel(p, 10, 32).g, 0);
  EXPECT_EQ(pixel(p, 50, 32).g, 255);
}

TEST_F(DrawingTest, CameraApplyAndRestoreLeaveMatricesAsTheyWere) {
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(1, 2, 3);
  GLfloat projection[16], modelview[16], after[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
  for (bool lookAt : {false, true}) {
    Camera camera;
    camera.angle = 30;
    camera.axis = Vec3(0, 1, 0);
    camera.position = Vec3(0, 0, -5);
    if (lookAt) camera.lookAt(Vec3(0, 0, -10), Vec3(0, 0, 0), Vec3(0, 1, 0));
    camera.apply();
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(integer(GL_PROJECTION_STACK_DEPTH), 2);
    EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), 2);
    camera.restore();
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(std::vector<float>(after, after + 16), std::vector<float>(modelview, modelview + 16));
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    EXPECT_EQ(std::vector<float>(after, after + 16),
              std::vector<float>(projection, projection + 16));
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
  }
}

TEST_F(DrawingTest, ParticleOfSizeTwoCoversTheViewportTextureUpright) {
  // 8 x 8 texture, quadrants red (bottom left), green (bottom right), blue
  // (top left), white (top right); row 0 is the bottom row.
  std::vector<uint32_t> texels(64);
  const uint32_t red = 0xFF0000FF, green = 0xFF00FF00, blue = 0xFFFF0000, white = 0xFFFFFFFF;
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 8; ++c) texels[size_t(r * 8 + c)] = r < 4 ? (c < 4 ? red : green) : (c < 4 ? blue : white);
  Texture texture(8, 8, TextureMode::Plain, texels.data());
  ParticleSystem particles(3);
  particles.setTexture(&texture);
  particles.particles[1].alive = true;
  particles.particles[1].size = 2;
  particles.particles[1].color = Color(1, 1, 1, 1);
  particles.draw();  // pass and currentPass both start at 1
  const std::vector<uint8_t> p = readPixels();
  auto expectColour = [&](int x, int y, int r, int g, int b) {
    const Rgb q = pixel(p, x, y);
    EXPECT_EQ(q.r, r) << x << "," << y;
    EXPECT_EQ(q.g, g) << x << "," << y;
    EXPECT_EQ(q.b, b) << x << "," << y;
  };
  expectColour(16, 16, 255, 0, 0);
  expectColour(48, 16, 0, 255, 0);
  expectColour(16, 48, 0, 0, 255);
  expectColour(48, 48, 255, 255, 255);
  // Corners of the viewport are covered too.
  EXPECT_GT(pixel(p, 0, 0).r + pixel(p, 0, 0).g + pixel(p, 0, 0).b, 0);
  EXPECT_GT(pixel(p, 63, 63).r, 0);
  EXPECT_EQ(particles.right.x, 1.0f);
  EXPECT_EQ(particles.up.y, 1.0f);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(DrawingTest, ParticleColourIsSentAndDeadParticlesAreNot) {
  ParticleSystem particles(2);
  particles.particles[0] = Particle{2, Vec3(0, 0, 0), Color(1, 0, 0, 1), true};
  particles.particles[1] = Particle{2, Vec3(0, 0, 0), Color(0, 1, 0, 1), false};
  particles.draw();
  const Rgb q = pixel(readPixels(), 32, 32);
  EXPECT_EQ(q.r, 255);
  EXPECT_EQ(q.g, 0);
  ParticleSystem none(5);
  glClear(GL_COLOR_BUFFER_BIT);
  none.draw();
  EXPECT_EQ(pixel(readPixels(), 32, 32).r, 0);
}

TEST_F(DrawingTest, EmptyWorldDrawsNothingAndBalancesTheStacks) {
  glClearColor(0.5f, 0.25f, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  const std::vector<uint8_t> before = readPixels();
  World world;
  world.draw();  // no camera: nothing at all
  Camera camera;
  world.setCamera(&camera);
  world.draw();
  EXPECT_EQ(readPixels(), before);
  EXPECT_EQ(integer(GL_PROJECTION_STACK_DEPTH), 1);
  EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), 1);
  EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
}

TEST_F(DrawingTest, ObjectsDrawOnlyInTheirPassTheSecondAdditively) {
  FlatQuad ordinary(0, 0.5f, 0);
  FlatQuad glowing(0.5f, 0, 0);
  glowing.pass = 1;
  Camera camera;
  World world;
  world.setCamera(&camera);
  world.add(&glowing, Vec3(0, 0, 0), 0, Vec3(0, 0, 0));
  world.add(&ordinary, Vec3(0, 0, 0), 0, Vec3(0, 0, 0));
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  world.draw();
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  GLboolean depthWrites = GL_TRUE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
  EXPECT_FALSE(depthWrites);
  glPopAttrib();
  EXPECT_EQ(ordinary.drawnInPasses, std::vector<int>{0});
  EXPECT_EQ(glowing.drawnInPasses, std::vector<int>{1});
  const Rgb q = pixel(readPixels(), 32, 32);
  EXPECT_NEAR(q.r, 128, 1);
  EXPECT_NEAR(q.g, 128, 1);
  EXPECT_EQ(q.b, 0);
}

TEST_F(DrawingTest, AlphaTestIsOnWhileDrawingAndOffAfterwards) {
  FlatQuad quad(1, 1, 1);
  quad.alphaTest = true;
  glEnable(GL_ALPHA_TEST);
  quad.draw();
  EXPECT_TRUE(quad.alphaTestWhileDrawn);
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
  // An object of the other pass still switches the test off.
  FlatQuad other(1, 1, 1);
  other.pass = 1;
  glEnable(GL_ALPHA_TEST);
  other.draw();
  EXPECT_TRUE(other.drawnInPasses.empty());
  EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), 1);
}

}  // namespace
