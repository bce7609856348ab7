// One triangle of a Mesh with its unnormalised face normal, kept so that the
// vertex normals can be rebuilt whenever the shape moves.
#pragma once

#include <cstdint>

#include "gfx/Vec3.h"

struct MeshTriangle {
  uint32_t vertices[3] = {0, 0, 0};
  Vec3 faceNormal{0, 0, 0};
};
