#include <gtest/gtest.h>

#include <vector>

#include "GlContextFixture.h"
#include "gfx/Mesh.h"
#include "gfx/Texture.h"

namespace {

int vertexCalls = 0;

// Rows at y = -0.5 and 0.5, columns spread over x in [-0.9, -0.1], all of it
// moved right by the time: at time 0 the left half of the viewport is
// covered, at time 1 the right half.
void slidingBand(int row, int col, int rows, int, Vec3* out, float time) {
  ++vertexCalls;
  const float xs[4] = {-0.9f, -0.6f, -0.3f, -0.1f};
  out->x = xs[col] + time;
  out->y = rows > 1 ? -0.5f + float(row) : 0.0f;
  out->z = 0;
}

using MeshTest = GlContextTest;

TEST_F(MeshTest, TopologyOfAHundredByTwentyGrid) {
  Mesh mesh(100, 20, false, nullptr);
  EXPECT_EQ(mesh.vertexCount, 2000);
  EXPECT_EQ(mesh.triangleCount, 4000);
  ASSERT_EQ(mesh.indices.size(), 12000u);
  // The last row's 40 triangles have no area; the built-in spindle's others
  // do, away from its pointed ends.
  for (int t = 3960; t < 4000; ++t) {
    const Vec3& n = mesh.triangles[size_t(t)].faceNormal;
    EXPECT_EQ(n.x * n.x + n.y * n.y + n.z * n.z, 0.0f) << t;
  }
  const Vec3& inner = mesh.triangles[2 * (50 * 20 + 3)].faceNormal;
  EXPECT_GT(inner.length(), 0.0f);
  // Column 19 closes the tube with column 0.
  const MeshTriangle& closing = mesh.triangles[2 * 19];
  EXPECT_EQ(closing.vertices[0], 19u);
  EXPECT_EQ(closing.vertices[1], 0u);
  EXPECT_EQ(closing.vertices[2], 20u);
  const MeshTriangle& closing2 = mesh.triangles[2 * 19 + 1];
  EXPECT_EQ(closing2.vertices[1], 20u);
  EXPECT_EQ(closing2.vertices[2], 39u);
  EXPECT_EQ(mesh.indices[3 * 2 * 19 + 1], 0u);
  for (const Vec3& n : mesh.normals) EXPECT_NEAR(n.length(), 1.0f, 1e-5f);
}

TEST_F(MeshTest, FaceNormalsAreRightHandedOutwardOnTheSpindle) {
  Mesh mesh(40, 16, false, nullptr);
  // On the spindle's middle ring the normals point away from the x axis.
  const int row = 20;
  for (int j = 0; j < 16; ++j) {
    const Vec3& p = mesh.positions[size_t(row * 16 + j)];
    const Vec3& n = mesh.normals[size_t(row * 16 + j)];
    EXPECT_GT(p.y * n.y + p.z * n.z, 0.0f) << j;
  }
}

TEST_F(MeshTest, AnimatedMeshEvaluatesOncePerNewTime) {
  vertexCalls = 0;
  Mesh mesh(2, 4, true, slidingBand);
  EXPECT_EQ(vertexCalls, 0);
  mesh.setTime(1);
  mesh.render();
  mesh.render();
  EXPECT_EQ(vertexCalls, 16);  // time differs from previousTime on both renders
  mesh.setTime(1);
  mesh.render();
  EXPECT_EQ(vertexCalls, 16);
  EXPECT_FLOAT_EQ(mesh.positions[0].x, 0.1f);
}

TEST_F(MeshTest, CompiledAnimatedMeshKeepsItsTimeZeroShape) {
  vertexCalls = 0;
  Mesh mesh(2, 4, true, slidingBand);
  mesh.compile();
  EXPECT_EQ(vertexCalls, 8);
  mesh.setTime(1);
  mesh.draw();
  EXPECT_EQ(vertexCalls, 8);
  std::vector<uint8_t> p = readPixels();
  EXPECT_EQ(pixel(p, 16, 32).r, 255);  // x = -0.5
  EXPECT_EQ(pixel(p, 48, 32).r, 0);    // x = 0.5

  Mesh moving(2, 4, true, slidingBand);
  moving.setTime(1);
  glClear(GL_COLOR_BUFFER_BIT);
  moving.draw();
  p = readPixels();
  EXPECT_EQ(pixel(p, 16, 32).r, 0);
  EXPECT_EQ(pixel(p, 48, 32).r, 255);
}

TEST_F(MeshTest, FromNormalsTexturesGetCoordinatesFromTheNormals) {
  const uint32_t texel = 0xFFFFFFFF;
  Texture fromNormals(1, 1, TextureMode::FromNormals, &texel);
  Texture sphere(1, 1, TextureMode::SphereMap, &texel);
  Mesh mesh(30, 12, false, nullptr);
  mesh.setTexture(&fromNormals);
  mesh.setSecondTexture(&sphere);
  EXPECT_EQ(mesh.secondTexture, &sphere);  // llvmpipe has multitexturing
  mesh.computeNormals();
  for (size_t i = 0; i < mesh.normals.size(); ++i) {
    EXPECT_FLOAT_EQ(mesh.texCoords[2 * i], (mesh.normals[i].x + 1) * 0.5f);
    EXPECT_FLOAT_EQ(mesh.texCoords[2 * i + 1], (mesh.normals[i].y + 1) * 0.5f);
    EXPECT_GE(mesh.texCoords[2 * i], 0.0f);
    EXPECT_LE(mesh.texCoords[2 * i], 1.0f);
  }
  // Two generating textures: no coordinates are derived.
  Mesh generated(30, 12, false, nullptr);
  generated.setTexture(&sphere);
  generated.setSecondTexture(&sphere);
  generated.computeNormals();
  for (float c : generated.texCoords) EXPECT_EQ(c, 0.0f);
  // Drawing both textures leaves no GL error and the client arrays set up.
  mesh.draw();
  EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
}

}  // namespace
