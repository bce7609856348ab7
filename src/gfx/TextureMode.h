// How a texture gets its coordinates: from the geometry, from GL coordinate
// generation, or from a mesh's normals.
#pragma once

#include <cstdint>

enum class TextureMode : int32_t {
  Plain = 0,         // coordinates come from the geometry
  SphereMap = 1,     // GL_SPHERE_MAP generation for s and t
  FromNormals = 2,   // meshes derive s and t from their vertex normals
  EyeLinear = 3,     // GL_EYE_LINEAR generation for s and t
  ObjectLinear = 4,  // GL_OBJECT_LINEAR generation for s and t
};
