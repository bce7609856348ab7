// The tube-sweep vertex function five scenes share: a ring cross-section
// carried along a closed path, framed by the path's direction and a fixed
// reference vector. Each scene supplies its path C(u, t), its cross-section
// X(u, theta, t) and a section scale k, and wraps sweepTube in a plain
// VertexFunction.
#pragma once

#include "gfx/Vec3.h"
#include "scenes/SceneMath.h"

// Grid point (row, col) of a rows x cols mesh at mesh time t: u runs from -pi
// to pi along the rows, theta once around the columns.
template <typename Path, typename Section>
Vec3 sweepTube(int row, int col, int rows, int cols, float t, float k, Path path,
               Section section) {
  const float u = (float(row) - float(rows - 1) * 0.5f) * 6.2831855f / float(rows - 1);
  const float theta = (float(col) - float(cols) * 0.5f) * 6.2831855f / float(cols);

  const Vec3 p = path(u, t);
  const Vec3 q = path(u - 0.01f, t);
  Vec3 tangent = p.sub(q);
  tangent.normalize();
  Vec3 reference(0.0f, 0.1f, -10.1f);
  reference.normalize();
  // Right-handed products; Vec3::cross takes its receiver second.
  Vec3 binormal = reference.cross(tangent);  // tangent x reference
  binormal.normalize();
  Vec3 normal = binormal.cross(tangent);  // tangent x binormal
  normal.normalize();

  const Vec3 l = section(u, theta, t).scale(k);
  return p.add(tangent.scale(l.x)).add(binormal.scale(l.y)).add(normal.scale(l.z));
}

// The spiky cross-section scenes 2 and 7 give their knots: a unit ring
// scaled by 25 times (a product of four sines + 0.5).
inline Vec3 spikySection(float u, float theta, float t) {
  using scenemath::fcos;
  using scenemath::fsin;
  const float spikes = 25.0f * (fsin(5.0f * (t + theta)) * fsin(4.0f * theta - 10.0f * t) *
                                    fsin(119.0f * u + 4.0f * t) * fsin(110.0f * u + 3.0f * t) +
                                0.5f);
  return Vec3(0.0f, fsin(theta), fcos(theta)).scale(spikes);
}

// The vertex function of scenes 2 and 7: the spiky section at scale 0.2
// along a knot that depends on the row parameter alone.
template <Vec3 (*knot)(float)>
void spikyKnotVertex(int row, int col, int rows, int cols, Vec3* out, float time) {
  *out = sweepTube(
      row, col, rows, cols, time, 0.2f, [](float u, float) { return knot(u); }, spikySection);
}
