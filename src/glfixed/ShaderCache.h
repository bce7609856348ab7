// The shader programs of the layer: one per ShaderKey, written as GLSL ES
// 1.00 source for exactly the features the key has on, compiled and linked
// when first asked for and kept for the context's life.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "glfixed/ShaderKey.h"

namespace glfixed {

// Fixed attribute locations, the same in every program.
enum Attribute : GLuint {
  kPosition = 0,
  kNormal = 1,
  kColor = 2,
  kTexCoord0 = 3,
  kTexCoord1 = 4,
  kAttributeCount = 5
};

// A linked program and where its uniforms are (-1: not in this program).
struct Program {
  GLuint name = 0;
  GLint modelView = -1;
  GLint projection = -1;
  GLint normalMatrix = -1;
  GLint textureMatrix[kUnits] = {-1, -1};
  GLint sampler[kUnits] = {-1, -1};
  GLint sceneColor = -1;
  GLint lightAmbient = -1;   // arrays of kLights
  GLint lightDiffuse = -1;
  GLint lightSpecular = -1;
  GLint lightPosition = -1;
  GLint shininess = -1;
  GLint diffuseAlpha = -1;
  GLint fogColor = -1;
  GLint fogParams = -1;      // start, end, density
  GLint alphaRef = -1;
};

class ShaderCache {
 public:
  // The program for the key, made now if needed. Null when the driver
  // refuses it (the layer writes only what every ES 2 driver must take):
  // the refusal is written to standard error once, and the draws that need
  // the program are skipped with GL_INVALID_OPERATION, as GL skips a draw
  // with a program that did not link.
  const Program* get(const ShaderKey& key);
  // Compiles and links the two sources as the program stored under
  // `packed`; null, reported once, when the driver refuses them.
  const Program* build(uint64_t packed, const std::string& vertexText,
                       const std::string& fragmentText);
  // Forgets every program (the context went away).
  void clear() { programs_.clear(); }

  static std::string vertexSource(const ShaderKey& key);
  static std::string fragmentSource(const ShaderKey& key);

 private:
  std::unordered_map<uint64_t, Program> programs_;
};

}  // namespace glfixed
