// What the ES context holds now, as far as the layer has set it: the
// program, the buffers, the attribute arrays, the texture bindings and the
// raster state (caps, blend, depth, viewport, scissor, clear colour). The
// layer sets ES state only through it, and only changes go out: in a
// browser every call crosses into WebGL and on to the GPU process.
#pragma once

#include <cstddef>
#include <cstdint>

#include "glfixed/FixedState.h"

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

class EsState {
 public:
  void useProgram(GLuint program);
  void bindArrayBuffer(GLuint buffer);
  void bindElementBuffer(GLuint buffer);
  // Binds name to unit's 2D target, leaving that unit active.
  void bindTexture(int unit, GLuint name);
  void activeTexture(int unit);
  // The attribute arrays of the layer's vertex layout (stride bytes a
  // vertex, offsets[a] for attribute a) read from `buffer` where bit a of
  // `arrays` is set; the others hold current[a] (3 floats for the normal,
  // else 4).
  void setAttributes(GLuint buffer, GLsizei stride, const size_t offsets[kAttributeCount],
                     uint32_t arrays, const float* const current[kAttributeCount]);
  // Caps, blending, depth, viewport, scissor and clear colour as the
  // layer's state has them.
  void applyRaster(const ServerState& server);
  // A buffer or texture is going: a binding of it is no longer known.
  void forgetBuffer(GLuint buffer);
  void forgetTexture(GLuint name);

 private:
  GLuint program_ = 0;
  GLuint arrayBuffer_ = 0;
  GLuint elementBuffer_ = 0;
  int activeUnit_ = -1;
  GLuint bound_[kUnits] = {};
  bool boundKnown_[kUnits] = {};
  // The buffer the attribute pointers read from (0: not set).
  GLuint attributeBuffer_ = 0;
  uint32_t arrays_ = 0;
  bool arraysKnown_ = false;
  float current_[kAttributeCount][4] = {};
  bool currentKnown_[kAttributeCount] = {};

  bool rasterKnown_ = false;
  struct Raster {
    bool depthTest, blend, cullFace, scissorTest;
    GLenum blendSource, blendDestination, depthFunc;
    GLboolean depthMask;
    float clearColor[4];
    GLint viewport[4], scissor[4];
  } raster_{};
};

}  // namespace glfixed
