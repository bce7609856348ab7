// A grid of rows x cols vertices closed around its columns (a tube) and open
// at its first and last rows, positioned by a VertexFunction of (row, col,
// time), drawn in one indexed call, with smooth normals and, for FromNormals
// textures, texture coordinates derived from them.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/MeshTriangle.h"
#include "gfx/SceneObject.h"
#include "gfx/VertexFunction.h"

class Mesh : public SceneObject {
 public:
  // Builds the topology; a mesh that is not animated gets its positions and
  // normals (time 0) at once. Without a vertex function the built-in spindle
  // is used, which needs at least two rows. rows and cols below 1 count as 1.
  Mesh(int rows, int cols, bool animated, VertexFunction vertexFunction);

  // previousTime = time, then time = t. Once a frame, before drawing.
  void setTime(float t);
  // Re-evaluates an animated mesh whose time differs from previousTime,
  // then draws with client-side arrays (the client states stay enabled).
  void render() override;
  // One position at the current time.
  virtual void vertex(int row, int col, int rows, int cols, Vec3* out);
  // Face normals, unit vertex normals, and texture coordinates from the
  // normals when the textures ask for them.
  void computeNormals();

  int vertexCount;
  int triangleCount;  // 2 * rows * cols; the last row's 2 * cols have no area
  std::vector<Vec3> positions;  // grid point (i, j) at i * cols + j
  std::vector<Vec3> normals;
  std::vector<float> texCoords;  // (s, t) per vertex
  std::vector<uint32_t> indices;
  std::vector<MeshTriangle> triangles;
  VertexFunction vertexFunction;
  bool animated;
  int rows;
  int cols;
  float time = 0.0f;
  float previousTime = -1.0f;

 private:
  void evaluate();
};
