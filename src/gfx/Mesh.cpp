#include "gfx/Mesh.h"

#include <algorithm>
#include <cmath>

#include "gfx/GeometryOutput.h"
#include "gfx/Multitexture.h"
#include "gfx/Texture.h"
#include "platform/Gl.h"

static_assert(sizeof(Vec3) == 3 * sizeof(float), "positions and normals go to GL as arrays");

namespace {
float fsin(float x) { return float(std::sin(double(x))); }
float fcos(float x) { return float(std::cos(double(x))); }
}  // namespace

Mesh::Mesh(int rowCount, int colCount, bool isAnimated, VertexFunction function)
    : vertexCount(std::max(rowCount, 1) * std::max(colCount, 1)),
      triangleCount(2 * vertexCount),
      positions(size_t(vertexCount)),
      normals(size_t(vertexCount)),
      texCoords(size_t(vertexCount) * 2, 0.0f),
      indices(size_t(triangleCount) * 3),
      triangles(size_t(triangleCount)),
      vertexFunction(function),
      animated(isAnimated),
      rows(std::max(rowCount, 1)),
      cols(std::max(colCount, 1)) {
  for (int i = 0; i < rows; ++i) {
    // Columns wrap around; rows do not, so the last row's triangles have no
    // area. They stay in the index array and are drawn.
    const int in = std::min(i + 1, rows - 1);
    for (int j = 0; j < cols; ++j) {
      const int k = i * cols + j;
      const int jn = (j + 1) % cols;
      const uint32_t p = uint32_t(i * cols + j);
      const uint32_t q = uint32_t(i * cols + jn);
      const uint32_t r = uint32_t(in * cols + jn);
      const uint32_t s = uint32_t(in * cols + j);
      const uint32_t corners[2][3] = {{p, q, r}, {p, r, s}};
      for (int half = 0; half < 2; ++half) {
        MeshTriangle& triangle = triangles[size_t(2 * k + half)];
        for (int c = 0; c < 3; ++c) {
          triangle.vertices[c] = corners[half][c];
          indices[size_t(3 * (2 * k + half) + c)] = corners[half][c];
        }
      }
    }
  }
  if (!animated) {
    // Mesh::vertex itself, at time 0, as a constructor can only call it.
    for (int i = 0; i < rows; ++i)
      for (int j = 0; j < cols; ++j) Mesh::vertex(i, j, rows, cols, &positions[size_t(i * cols + j)]);
    computeNormals();
  }
}

void Mesh::setTime(float t) {
  previousTime = time;
  time = t;
}

void Mesh::vertex(int row, int col, int rowCount, int colCount, Vec3* out) {
  if (vertexFunction) {
    vertexFunction(row, col, rowCount, colCount, out, time);
    return;
  }
  // The built-in spindle.
  const float v = (float(col) - float(colCount) * 0.5f) * 6.2831854820251465f / float(colCount);
  const float u =
      (float(row) - float(rowCount - 1) * 0.5f) * 6.2831854820251465f / float(rowCount - 1);
  out->x = (fcos(1.5f * u) + 1.0f) * 0.5f * u * 0.06366197764873505f;
  const float r = 0.2f * fcos(0.5f * u);
  out->y = r * fcos(v);
  out->z = r * fsin(v);
  const float w = 3.0f * v;
  out->y += r * 0.2f * fcos(11.0f * time + w);
  out->z += r * 0.2f * fsin(14.0f * time + w);
}

void Mesh::evaluate() {
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j) vertex(i, j, rows, cols, &positions[size_t(i * cols + j)]);
  computeNormals();
}

void Mesh::render() {
  // previousTime is left alone: without a new setTime the next render
  // evaluates again.
  if (animated && time != previousTime) evaluate();
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_VERTEX_ARRAY);
  glNormalPointer(GL_FLOAT, 0, normals.data());
  if (texture) {
    if (multitexture::glClientActiveTextureARB)
      multitexture::glClientActiveTextureARB(GL_TEXTURE0_ARB);
    if (!texture->usesTexGen()) {
      glEnableClientState(GL_TEXTURE_COORD_ARRAY);
      glTexCoordPointer(2, GL_FLOAT, 0, texCoords.data());
    }
  }
  glVertexPointer(3, GL_FLOAT, 0, positions.data());
  if (!geometryOutput::enabled()) return;
  glDrawElements(GL_TRIANGLES, 3 * triangleCount, GL_UNSIGNED_INT, indices.data());
}

void Mesh::computeNormals() {
  std::fill(normals.begin(), normals.end(), Vec3(0, 0, 0));
  for (MeshTriangle& triangle : triangles) {
    const Vec3& p0 = positions[triangle.vertices[0]];
    const Vec3& p1 = positions[triangle.vertices[1]];
    const Vec3& p2 = positions[triangle.vertices[2]];
    // (p1 - p0) x (p2 - p0), right-handed: cross() puts its argument first.
    const Vec3 face = p2.sub(p0).cross(p1.sub(p0));
    triangle.faceNormal = face;
    for (uint32_t v : triangle.vertices) normals[v] = normals[v].add(face);
  }
  for (Vec3& n : normals) n.normalize();

  if (!texture) return;
  const bool firstGenerates = texture->usesTexGen();
  const bool secondGenerates = secondTexture && secondTexture->usesTexGen();
  const bool fromNormals = texture->mode() == TextureMode::FromNormals ||
                           (secondTexture && secondTexture->mode() == TextureMode::FromNormals);
  if ((firstGenerates && secondGenerates) || !fromNormals) return;
  for (size_t i = 0; i < normals.size(); ++i) {
    texCoords[2 * i] = (normals[i].x + 1.0f) * 0.5f;
    texCoords[2 * i + 1] = (normals[i].y + 1.0f) * 0.5f;
  }
}
