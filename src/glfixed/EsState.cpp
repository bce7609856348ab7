#include "glfixed/EsState.h"

#include <cstring>

namespace glfixed {
namespace {

void setCap(GLenum cap, bool on) {
  if (on)
    glEnable(cap);
  else
    glDisable(cap);
}

}  // namespace

void EsState::useProgram(GLuint program) {
  if (program == program_) return;
  glUseProgram(program);
  program_ = program;
}

void EsState::bindArrayBuffer(GLuint buffer) {
  if (buffer == arrayBuffer_) return;
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  arrayBuffer_ = buffer;
}

void EsState::bindElementBuffer(GLuint buffer) {
  if (buffer == elementBuffer_) return;
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
  elementBuffer_ = buffer;
}

void EsState::activeTexture(int unit) {
  if (unit == activeUnit_) return;
  glActiveTexture(GLenum(GL_TEXTURE0 + unit));
  activeUnit_ = unit;
}

void EsState::bindTexture(int unit, GLuint name) {
  activeTexture(unit);
  if (boundKnown_[unit] && bound_[unit] == name) return;
  glBindTexture(GL_TEXTURE_2D, name);
  bound_[unit] = name;
  boundKnown_[unit] = true;
}

void EsState::setAttributes(GLuint buffer, GLsizei stride, const size_t offsets[kAttributeCount],
                            uint32_t arrays, const float* const current[kAttributeCount]) {
  if (buffer != attributeBuffer_) {
    // Every pointer, enabled or not, so that enabling one later needs none.
    bindArrayBuffer(buffer);
    for (GLuint a = 0; a < kAttributeCount; ++a)
      glVertexAttribPointer(a, a == kNormal ? 3 : 4, GL_FLOAT, GL_FALSE, stride,
                            reinterpret_cast<const void*>(offsets[a]));
    attributeBuffer_ = buffer;
  }
  // (Written with one mask of changes: g++ 12.2 at -O1 and above inverts
  // the test when it compares each bit with the previous one.)
  const uint32_t changed = arraysKnown_ ? arrays ^ arrays_ : ~0u;
  for (GLuint a = 0; a < kAttributeCount; ++a) {
    const bool on = (arrays >> a) & 1;
    if ((changed >> a) & 1) {
      if (on)
        glEnableVertexAttribArray(a);
      else
        glDisableVertexAttribArray(a);
    }
    if (on) {
      // ES leaves the current value undefined after a draw from the array.
      currentKnown_[a] = false;
      continue;
    }
    const int n = a == kNormal ? 3 : 4;
    if (currentKnown_[a] && std::memcmp(current_[a], current[a], sizeof(float) * size_t(n)) == 0)
      continue;
    std::memcpy(current_[a], current[a], sizeof(float) * size_t(n));
    currentKnown_[a] = true;
    if (n == 3)
      glVertexAttrib3fv(a, current[a]);
    else
      glVertexAttrib4fv(a, current[a]);
  }
  arrays_ = arrays;
  arraysKnown_ = true;
}

void EsState::applyRaster(const ServerState& s) {
  Raster& a = raster_;
  const bool all = !rasterKnown_;
  if (all || a.depthTest != s.depthTest) setCap(GL_DEPTH_TEST, a.depthTest = s.depthTest);
  if (all || a.blend != s.blend) setCap(GL_BLEND, a.blend = s.blend);
  if (all || a.cullFace != s.cullFace) setCap(GL_CULL_FACE, a.cullFace = s.cullFace);
  if (all || a.scissorTest != s.scissorTest) setCap(GL_SCISSOR_TEST, a.scissorTest = s.scissorTest);
  if (all || a.blendSource != s.blendSource || a.blendDestination != s.blendDestination)
    glBlendFunc(a.blendSource = s.blendSource, a.blendDestination = s.blendDestination);
  if (all || a.depthFunc != s.depthFunc) glDepthFunc(a.depthFunc = s.depthFunc);
  if (all || a.depthMask != s.depthMask) glDepthMask(a.depthMask = s.depthMask);
  if (all || std::memcmp(a.clearColor, s.clearColor, sizeof a.clearColor) != 0) {
    std::memcpy(a.clearColor, s.clearColor, sizeof a.clearColor);
    glClearColor(s.clearColor[0], s.clearColor[1], s.clearColor[2], s.clearColor[3]);
  }
  if (all || std::memcmp(a.viewport, s.viewport, sizeof a.viewport) != 0) {
    std::memcpy(a.viewport, s.viewport, sizeof a.viewport);
    glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
  }
  if (all || std::memcmp(a.scissor, s.scissor, sizeof a.scissor) != 0) {
    std::memcpy(a.scissor, s.scissor, sizeof a.scissor);
    glScissor(s.scissor[0], s.scissor[1], s.scissor[2], s.scissor[3]);
  }
  rasterKnown_ = true;
}

void EsState::forgetBuffer(GLuint buffer) {
  if (arrayBuffer_ == buffer) arrayBuffer_ = 0;
  if (elementBuffer_ == buffer) elementBuffer_ = 0;
  if (attributeBuffer_ == buffer) attributeBuffer_ = 0;
}

void EsState::forgetTexture(GLuint name) {
  for (int u = 0; u < kUnits; ++u)
    if (bound_[u] == name) boundKnown_[u] = false;
}

}  // namespace glfixed
