// What scenes keep and what they leave behind: their clocks, their draws from
// the generator, the moving column's mesh, and the GL state.
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <string>

#include "SceneFixture.h"
#include "gfx/Mesh.h"
#include "platform/Gl.h"
#include "platform/Random.h"
#include "scenes/ColumnScene.h"
#include "scenes/PhotoScene.h"
#include "scenes/Scene.h"
#include "scenes/SceneList.h"
#include "scenes/ScrollerScene.h"
#include "scenes/TunnelScene.h"

namespace {

// How many values of the generator's sequence from `seed` a render took.
int drawsDuring(Scene& scene, uint32_t seed) {
  platform::srand(seed);
  scene.render();
  const int next = platform::rand();
  platform::srand(seed);
  for (int n = 0; n < 8; ++n)
    if (platform::rand() == next) return n;
  return -1;
}

struct GlState {
  GLint attribDepth, modelviewDepth, projectionDepth, matrixMode;
  GLfloat modelview[16], projection[16], colour[4];
  GLboolean enabled[8];

  static GlState read() {
    GlState s{};
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &s.attribDepth);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.modelviewDepth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.projectionDepth);
    glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
    glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, s.projection);
    glGetFloatv(GL_CURRENT_COLOR, s.colour);
    const GLenum caps[8] = {GL_DEPTH_TEST, GL_BLEND,      GL_LIGHTING,     GL_TEXTURE_2D,
                            GL_ALPHA_TEST, GL_CULL_FACE,  GL_TEXTURE_GEN_S, GL_LIGHT0};
    for (int i = 0; i < 8; ++i) s.enabled[i] = glIsEnabled(caps[i]);
    return s;
  }
};

void expectSame(const GlState& a, const GlState& b, int scene) {
  SCOPED_TRACE(testing::Message() << "scene " << scene);
  EXPECT_EQ(a.attribDepth, b.attribDepth);
  EXPECT_EQ(a.modelviewDepth, b.modelviewDepth);
  EXPECT_EQ(a.projectionDepth, b.projectionDepth);
  EXPECT_EQ(a.matrixMode, b.matrixMode);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(a.modelview[i], b.modelview[i]);
    EXPECT_EQ(a.projection[i], b.projection[i]);
  }
  for (int i = 0; i < 4; ++i) EXPECT_EQ(a.colour[i], b.colour[i]);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(a.enabled[i], b.enabled[i]) << "capability " << i;
}

}  // namespace

TEST_F(SceneTest, OnlyThePhotoAndScrollerScenesDrawRandomNumbers) {
  const SceneArray scenes = constructScenes(clock);
  // Draws per frame; every other scene draws none.
  const std::map<std::string, int> drawing = {
      {"FirstPhotoScene", 2}, {"SecondPhotoScene", 2}, {"ScrollerScene", 1}};
  for (int i = 0; i < kSceneCount; ++i) {
    const auto found = drawing.find(kShowScenes[i].name);
    const int expected = found == drawing.end() ? 0 : found->second;
    SCOPED_TRACE(kShowScenes[i].name);
    at(10.0, 3);
    EXPECT_EQ(drawsDuring(*scenes[size_t(i)], 11), expected) << "first frame";
    at(10.5, 4);
    EXPECT_EQ(drawsDuring(*scenes[size_t(i)], 12), expected) << "later frame";
  }
}

TEST_F(SceneTest, EveryRenderLeavesGlStateAsItFoundIt) {
  const SceneArray scenes = constructScenes(clock);
  // Something a careless scene could disturb.
  glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(0.5f, 0.0f, 0.0f);
  for (int i = 0; i < kSceneCount; ++i) {
    const GlState before = GlState::read();
    frame(*scenes[size_t(i)], 10.0, 0);
    frame(*scenes[size_t(i)], 10.5, 5);
    expectSame(before, GlState::read(), i);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "scene " << i;
  }
  glLoadIdentity();
}

TEST_F(SceneTest, SceneShownAgainContinuesItsLocalTime) {
  ScrollerScene scroller(clock);
  TunnelScene tunnel(clock);
  EXPECT_EQ(brightest(frame(scroller, 10.0, 3)), 0);  // its fade from black starts
  frame(tunnel, 12.0, 3);
  frame(tunnel, 29.0, 3);
  // Shown again later: the fade is over, not restarted.
  EXPECT_GT(brightest(frame(scroller, 30.0, 3)), 128);
  EXPECT_EQ(scroller.times().startTime, 10.0f);
  EXPECT_EQ(scroller.times().lastTime, 30.0f);
  EXPECT_EQ(tunnel.times().startTime, 12.0f);
}

TEST_F(SceneTest, PhotoScenesShareNoState) {
  PhotoScene first(clock, {"../morrik01.tga", "../morrik02.tga", "../morrik03.tga", "../morrik04.tga"},
                   "../logo_morrik.tga");
  PhotoScene second(clock, {"../telva01.tga", "../telva02.tga", "../telva03.tga", "../telva04.tga"},
                    "../logo_telva.tga");
  frame(first, 10.0, 3);
  frame(first, 15.0, 3);
  EXPECT_FALSE(second.times().started);
  EXPECT_EQ(second.times().beatPhase, 0.0f);

  // The second starts its own eight-second fade at its own first frame.
  EXPECT_TRUE(allPixels(frame(second, 20.0, 3), 255, 255, 255, 0));
  EXPECT_EQ(second.times().startTime, 20.0f);
  EXPECT_EQ(first.times().startTime, 10.0f);
  EXPECT_EQ(first.times().lastTime, 15.0f);
}

TEST_F(SceneTest, ColumnMeshIsRecomputedOnlyWhenTheClockMoves) {
  ColumnScene column(clock);
  Mesh& mesh = column.columnMesh();
  frame(column, 10.0, 3);
  const Vec3 computed = mesh.positions[0];
  EXPECT_TRUE(std::isfinite(computed.x) && std::isfinite(computed.y));

  // A marker in the vertex array survives a frame at the same moment...
  mesh.positions[0] = Vec3(1000.0f, 1000.0f, 1000.0f);
  frame(column, 10.0, 3);
  EXPECT_EQ(mesh.positions[0].x, 1000.0f);
  // ...and is overwritten once the clock moves on.
  frame(column, 10.1, 3);
  EXPECT_NE(mesh.positions[0].x, 1000.0f);
  EXPECT_NE(mesh.time, mesh.previousTime);
}
