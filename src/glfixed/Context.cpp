#include "glfixed/Context.h"

#include <cstddef>
#include <cstring>

namespace glfixed {
namespace {

std::unique_ptr<Context>& instance() {
  static std::unique_ptr<Context> context;
  return context;
}

void product(const float a[4], const float b[4], float out[4]) {
  for (int i = 0; i < 4; ++i) out[i] = a[i] * b[i];
}

void setCap(GLenum cap, bool on) {
  if (on)
    glEnable(cap);
  else
    glDisable(cap);
}

}  // namespace

Context& Context::get() {
  auto& context = instance();
  if (!context) context.reset(new Context());
  return *context;
}

void Context::reset() { instance().reset(); }

Context::Context() {
  modelView.entries.push_back(Matrix4::identity());
  projection.entries.push_back(Matrix4::identity());
  for (MatrixStack& stack : textureMatrix) {
    stack.entries.push_back(Matrix4::identity());
    stack.depth = 4;
  }
  // Light 0 is white; the others are dark.
  const float white[4] = {1, 1, 1, 1};
  std::memcpy(server.lights[0].diffuse, white, sizeof white);
  std::memcpy(server.lights[0].specular, white, sizeof white);
  GLint viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, viewport);
  std::memcpy(server.viewport, viewport, sizeof viewport);
  std::memcpy(server.scissor, viewport, sizeof viewport);
  begun.reserve(4096);
  triangles_.reserve(8192);
  glGenBuffers(1, &streamBuffer_);
}

MatrixStack& Context::currentStack() {
  switch (server.matrixMode) {
    case GL_PROJECTION: return projection;
    case GL_TEXTURE: return textureMatrix[textures.activeUnit];
    default: return modelView;
  }
}

Matrix4& Context::currentMatrix() { return currentStack().entries.back(); }

void triangulate(GLenum mode, const Vertex* v, size_t count, std::vector<Vertex>* out) {
  out->clear();
  auto tri = [&](size_t a, size_t b, size_t c) {
    out->push_back(v[a]);
    out->push_back(v[b]);
    out->push_back(v[c]);
  };
  switch (mode) {
    case GL_TRIANGLES:
      for (size_t i = 0; i + 2 < count; i += 3) tri(i, i + 1, i + 2);
      break;
    case GL_TRIANGLE_STRIP:
      for (size_t i = 0; i + 2 < count; ++i) {
        if (i % 2 == 0)
          tri(i, i + 1, i + 2);
        else
          tri(i + 1, i, i + 2);
      }
      break;
    case GL_TRIANGLE_FAN:
    case GL_POLYGON:
      for (size_t i = 1; i + 1 < count; ++i) tri(0, i, i + 1);
      break;
    case GL_QUADS:
      for (size_t i = 0; i + 3 < count; i += 4) {
        tri(i, i + 1, i + 3);
        tri(i + 1, i + 2, i + 3);
      }
      break;
    case GL_QUAD_STRIP:
      for (size_t i = 0; i + 3 < count; i += 2) {
        tri(i, i + 1, i + 3);
        tri(i, i + 3, i + 2);
      }
      break;
    default:
      break;  // points and lines are not drawn
  }
}

void Context::submit(GLenum mode, const Vertex* vertices, size_t count, uint32_t attributes) {
  triangulate(mode, vertices, count, &triangles_);
  if (triangles_.empty()) return;
  if (compiling) {
    ListDraw draw;
    glGenBuffers(1, &draw.buffer);
    glBindBuffer(GL_ARRAY_BUFFER, draw.buffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(triangles_.size() * sizeof(Vertex)),
                 triangles_.data(), GL_STATIC_DRAW);
    draw.vertexCount = GLsizei(triangles_.size());
    draw.attributes = attributes;
    lists[compiling].push_back(draw);
    return;
  }
  const size_t bytes = triangles_.size() * sizeof(Vertex);
  glBindBuffer(GL_ARRAY_BUFFER, streamBuffer_);
  if (bytes > streamCapacity_) {
    streamCapacity_ = bytes * 2;
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(streamCapacity_), nullptr, GL_STREAM_DRAW);
  }
  glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(bytes), triangles_.data());
  drawTriangles(streamBuffer_, GLsizei(triangles_.size()), attributes);
}

void Context::applyRasterState() {
  const ServerState& s = server;
  Applied& a = applied_;
  const bool all = !appliedValid_;
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
  appliedValid_ = true;
}

void Context::bindUnits() {
  for (int u = 0; u < kUnits; ++u) {
    glActiveTexture(GLenum(GL_TEXTURE0 + u));
    glBindTexture(GL_TEXTURE_2D, textures.units[u].bound);
  }
  glActiveTexture(GLenum(GL_TEXTURE0 + textures.activeUnit));
}

void Context::setUniforms(const Program& p, const ShaderKey& key) {
  const Matrix4& mv = modelView.entries.back();
  glUniformMatrix4fv(p.modelView, 1, GL_FALSE, mv.m);
  glUniformMatrix4fv(p.projection, 1, GL_FALSE, projection.entries.back().m);
  if (p.normalMatrix >= 0) {
    float normal[9];
    mv.normalMatrix(normal);
    glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, normal);
  }
  for (int u = 0; u < kUnits; ++u)
    if (p.textureMatrix[u] >= 0)
      glUniformMatrix4fv(p.textureMatrix[u], 1, GL_FALSE, textureMatrix[u].entries.back().m);
  if (key.lighting) {
    const MaterialState& m = server.material;
    float scene[4];
    for (int i = 0; i < 4; ++i)
      scene[i] = m.emission[i] + server.lightModelAmbient[i] * m.ambient[i];
    glUniform4fv(p.sceneColor, 1, scene);
    float ambient[kLights][4], diffuse[kLights][4], specular[kLights][4], position[kLights][4];
    for (int i = 0; i < kLights; ++i) {
      const LightState& l = server.lights[i];
      product(l.ambient, m.ambient, ambient[i]);
      product(l.diffuse, m.diffuse, diffuse[i]);
      product(l.specular, m.specular, specular[i]);
      std::memcpy(position[i], l.position, sizeof position[i]);
    }
    if (p.lightAmbient >= 0) glUniform4fv(p.lightAmbient, kLights, &ambient[0][0]);
    if (p.lightDiffuse >= 0) glUniform4fv(p.lightDiffuse, kLights, &diffuse[0][0]);
    if (p.lightSpecular >= 0) glUniform4fv(p.lightSpecular, kLights, &specular[0][0]);
    if (p.lightPosition >= 0) glUniform4fv(p.lightPosition, kLights, &position[0][0]);
    if (p.shininess >= 0) glUniform1f(p.shininess, m.shininess);
    if (p.diffuseAlpha >= 0) glUniform1f(p.diffuseAlpha, m.diffuse[3]);
  }
  if (p.fogColor >= 0) glUniform4fv(p.fogColor, 1, server.fogColor);
  if (p.fogParams >= 0) glUniform3f(p.fogParams, server.fogStart, server.fogEnd, server.fogDensity);
  if (p.alphaRef >= 0) {
    float ref = server.alphaRef < 0.0f ? 0.0f : server.alphaRef > 1.0f ? 1.0f : server.alphaRef;
    glUniform1f(p.alphaRef, ref);
  }
}

void Context::drawTriangles(GLuint buffer, GLsizei count, uint32_t attributes) {
  bool unitComplete[kUnits];
  for (int u = 0; u < kUnits; ++u)
    unitComplete[u] = complete.count(textures.units[u].bound) != 0;
  const ShaderKey key = ShaderKey::from(server, textures, unitComplete);
  const Program* program = shaders_.get(key);
  if (!program) {
    recordError(GL_INVALID_OPERATION);
    return;
  }
  if (currentProgram_ != program->name) {
    glUseProgram(program->name);
    currentProgram_ = program->name;
  }
  applyRasterState();
  setUniforms(*program, key);
  bindUnits();

  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  const GLsizei stride = sizeof(Vertex);
  auto attribute = [&](GLuint index, GLint size, size_t offset, bool present, const float* current) {
    if (present) {
      glEnableVertexAttribArray(index);
      glVertexAttribPointer(index, size, GL_FLOAT, GL_FALSE, stride,
                            reinterpret_cast<const void*>(offset));
    } else {
      glDisableVertexAttribArray(index);
      if (size == 3)
        glVertexAttrib3fv(index, current);
      else
        glVertexAttrib4fv(index, current);
    }
  };
  attribute(kPosition, 4, offsetof(Vertex, position), true, nullptr);
  attribute(kNormal, 3, offsetof(Vertex, normal), attributes & kHasNormal, server.normal);
  attribute(kColor, 4, offsetof(Vertex, color), attributes & kHasColor, server.color);
  attribute(kTexCoord0, 4, offsetof(Vertex, texCoord[0]), attributes & kHasTexCoord0,
            server.texCoord[0]);
  attribute(kTexCoord1, 4, offsetof(Vertex, texCoord[1]), attributes & kHasTexCoord1,
            server.texCoord[1]);
  glDrawArrays(GL_TRIANGLES, 0, count);
}

}  // namespace glfixed
