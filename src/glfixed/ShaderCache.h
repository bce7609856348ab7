// The shader programs of the layer: one per ShaderKey, written as GLSL ES
// 1.00 source for exactly the features the key has on, compiled and linked
// when first asked for and kept for the context's life.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "glfixed/EsState.h"
#include "glfixed/ShaderKey.h"

namespace glfixed {

// A uniform of a program: where it is (-1: not in this program) and the
// floats last sent to it, so that a draw sends only what changed.
struct Uniform {
  static constexpr int kMaxFloats = 4 * kLights;
  GLint location = -1;
  bool known = false;
  float sent[kMaxFloats];
  // Whether the program has it and `value` (n floats) is not what it holds;
  // notes the value as sent.
  bool changed(const float* value, int n);
};

// A linked program and its uniforms.
struct Program {
  GLuint name = 0;
  Uniform modelView;
  Uniform projection;
  Uniform normalMatrix;
  Uniform textureMatrix[kUnits];
  Uniform sceneColor;
  Uniform lightAmbient;   // arrays of kLights
  Uniform lightDiffuse;
  Uniform lightSpecular;
  Uniform lightPosition;
  Uniform shininess;
  Uniform diffuseAlpha;
  Uniform fogColor;
  Uniform fogParams;      // start, end, density
  Uniform alphaRef;
  Uniform color;          // the draw's colour, clamped, when it has one
};

class ShaderCache {
 public:
  // The program for the key, made now if needed; a new program is made
  // current through es, to set its samplers. Null when the driver refuses
  // it (the layer writes only what every ES 2 driver must take): the
  // refusal is written to standard error once, and the draws that need the
  // program are skipped with GL_INVALID_OPERATION, as GL skips a draw with
  // a program that did not link.
  Program* get(const ShaderKey& key, EsState& es);
  // Compiles and links the two sources as the program stored under
  // `packed`; null, reported once, when the driver refuses them.
  Program* build(uint64_t packed, const std::string& vertexText, const std::string& fragmentText,
                 EsState& es);
  // Forgets every program (the context went away).
  void clear() {
    programs_.clear();
    last_ = nullptr;
    lastKey_ = ~uint64_t(0);
  }

  static std::string vertexSource(const ShaderKey& key);
  static std::string fragmentSource(const ShaderKey& key);

 private:
  // Programs stay where they are made: draws keep pointers to them. A
  // refused program is kept as null, so that it is reported once.
  std::unordered_map<uint64_t, std::unique_ptr<Program>> programs_;
  uint64_t lastKey_ = ~uint64_t(0);
  Program* last_ = nullptr;
};

}  // namespace glfixed
