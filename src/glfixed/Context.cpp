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

bool hasWideIndices() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (version && std::strncmp(version, "OpenGL ES 3", 11) == 0) return true;
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  return extensions && std::strstr(extensions, "GL_OES_element_index_uint") != nullptr;
}

const size_t kOffsets[kAttributeCount] = {offsetof(Vertex, position), offsetof(Vertex, normal),
                                          offsetof(Vertex, color), offsetof(Vertex, texCoord[0]),
                                          offsetof(Vertex, texCoord[1])};

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
  indices_.reserve(8192);
  glGenBuffers(1, &streamVertices_);
  glGenBuffers(1, &streamIndices_);
  wideIndices_ = hasWideIndices();
}

MatrixStack& Context::currentStack() {
  switch (server.matrixMode) {
    case GL_PROJECTION: return projection;
    case GL_TEXTURE: return textureMatrix[textures.activeUnit];
    default: return modelView;
  }
}

Matrix4& Context::currentMatrix() { return currentStack().entries.back(); }

void triangulate(GLenum mode, size_t count, const uint32_t* elements, uint32_t base,
                 QuadSplit split, std::vector<uint32_t>* out) {
  auto at = [&](size_t k) { return base + (elements ? elements[k] : uint32_t(k)); };
  auto tri = [&](size_t a, size_t b, size_t c) {
    out->push_back(at(a));
    out->push_back(at(b));
    out->push_back(at(c));
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
        if (split == QuadSplit::AlongFirst) {
          tri(i, i + 1, i + 2);
          tri(i, i + 2, i + 3);
        } else {
          tri(i, i + 1, i + 3);
          tri(i + 1, i + 2, i + 3);
        }
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

const float* Context::sameColor(const Vertex* vertices, size_t count) {
  if (count == 0) return nullptr;
  for (size_t i = 1; i < count; ++i)
    if (std::memcmp(vertices[i].color, vertices[0].color, sizeof vertices[0].color) != 0) return nullptr;
  return vertices[0].color;
}

bool Context::insideClipVolume(const Vertex* vertices, size_t count) const {
  Matrix4 clip = projection.entries.back();
  clip.multiply(modelView.entries.back());
  for (size_t i = 0; i < count; ++i) {
    float c[4];
    clip.transform(vertices[i].position, c);
    if (c[0] > c[3] || -c[0] > c[3] || c[1] > c[3] || -c[1] > c[3] || c[2] > c[3] || -c[2] > c[3])
      return false;
  }
  return true;
}

void Context::submit(GLenum mode, const Vertex* vertices, size_t vertexCount,
                     const uint32_t* elements, size_t count, uint32_t attributes) {
  if (compiling) {
    if (attributes != listAttributes_) flushList();
    listAttributes_ = attributes;
    const size_t before = listIndices_.size();
    triangulate(mode, count, elements, uint32_t(listVertices_.size()), QuadSplit::AlongSecond,
                &listIndices_);
    if (listIndices_.size() != before)
      listVertices_.insert(listVertices_.end(), vertices, vertices + vertexCount);
    return;
  }
  const QuadSplit split = mode == GL_QUADS && insideClipVolume(vertices, vertexCount)
                              ? QuadSplit::AlongFirst
                              : QuadSplit::AlongSecond;
  indices_.clear();
  triangulate(mode, count, elements, 0, split, &indices_);
  if (indices_.empty()) return;
  GLsizei drawn = 0;
  const GLenum type = upload(vertices, vertexCount, indices_, streamVertices_, streamIndices_,
                             GL_STREAM_DRAW, &drawn);
  draw(streamVertices_, streamIndices_, drawn, type, attributes, sameColor(vertices, vertexCount));
}

GLenum Context::upload(const Vertex* vertices, size_t vertexCount,
                       const std::vector<uint32_t>& indices, GLuint vertexBuffer,
                       GLuint indexBuffer, GLenum usage, GLsizei* count) {
  // Whole new stores each time: ES need not wait for draws that still read
  // the old contents.
  es.bindArrayBuffer(vertexBuffer);
  GLenum type = GL_UNSIGNED_INT;
  if (vertexCount <= 65536) {
    shortIndices_.assign(indices.begin(), indices.end());
    type = GL_UNSIGNED_SHORT;
  } else if (!wideIndices_) {
    expanded_.clear();
    for (uint32_t i : indices) expanded_.push_back(vertices[i]);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(expanded_.size() * sizeof(Vertex)), expanded_.data(),
                 usage);
    *count = GLsizei(expanded_.size());
    return 0;
  }
  glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertexCount * sizeof(Vertex)), vertices, usage);
  es.bindElementBuffer(indexBuffer);
  if (type == GL_UNSIGNED_SHORT)
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(shortIndices_.size() * sizeof(uint16_t)),
                 shortIndices_.data(), usage);
  else
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(uint32_t)),
                 indices.data(), usage);
  *count = GLsizei(indices.size());
  return type;
}

void Context::flushList() {
  if (!listIndices_.empty()) {
    ListDraw draw;
    glGenBuffers(1, &draw.vertexBuffer);
    glGenBuffers(1, &draw.indexBuffer);
    draw.indexType = upload(listVertices_.data(), listVertices_.size(), listIndices_,
                            draw.vertexBuffer, draw.indexBuffer, GL_STATIC_DRAW, &draw.count);
    draw.attributes = listAttributes_;
    lists[compiling].push_back(draw);
  }
  listVertices_.clear();
  listIndices_.clear();
}

void Context::endList() {
  if (!compiling) return;
  flushList();
  compiling = 0;
  // What a long list needed is not kept.
  std::vector<Vertex>().swap(listVertices_);
  std::vector<uint32_t>().swap(listIndices_);
}

void Context::callList(GLuint list) {
  auto found = lists.find(list);
  if (found == lists.end()) return;
  for (const ListDraw& d : found->second)
    draw(d.vertexBuffer, d.indexBuffer, d.count, d.indexType, d.attributes);
}

void Context::deleteList(GLuint list) {
  auto found = lists.find(list);
  if (found == lists.end()) return;
  for (const ListDraw& d : found->second) {
    for (GLuint buffer : {d.vertexBuffer, d.indexBuffer}) {
      es.forgetBuffer(buffer);
      glDeleteBuffers(1, &buffer);
    }
  }
  lists.erase(found);
}

void Context::setUniforms(Program& p, const ShaderKey& key, const float* color) {
  if (key.flatColor) {
    float clamped[4];
    for (int i = 0; i < 4; ++i) clamped[i] = color[i] < 0.0f ? 0.0f : color[i] > 1.0f ? 1.0f : color[i];
    if (p.color.changed(clamped, 4)) glUniform4fv(p.color.location, 1, clamped);
  }
  const Matrix4& mv = modelView.entries.back();
  if (p.modelView.changed(mv.m, 16)) {
    glUniformMatrix4fv(p.modelView.location, 1, GL_FALSE, mv.m);
    if (p.normalMatrix.location >= 0) {
      float normal[9];
      mv.normalMatrix(normal);
      if (p.normalMatrix.changed(normal, 9))
        glUniformMatrix3fv(p.normalMatrix.location, 1, GL_FALSE, normal);
    }
  }
  const float* pm = projection.entries.back().m;
  if (p.projection.changed(pm, 16)) glUniformMatrix4fv(p.projection.location, 1, GL_FALSE, pm);
  for (int u = 0; u < kUnits; ++u) {
    const float* tm = textureMatrix[u].entries.back().m;
    if (p.textureMatrix[u].changed(tm, 16))
      glUniformMatrix4fv(p.textureMatrix[u].location, 1, GL_FALSE, tm);
  }
  if (key.lighting) {
    const MaterialState& m = server.material;
    float scene[4];
    for (int i = 0; i < 4; ++i)
      scene[i] = m.emission[i] + server.lightModelAmbient[i] * m.ambient[i];
    if (p.sceneColor.changed(scene, 4)) glUniform4fv(p.sceneColor.location, 1, scene);
    float ambient[kLights][4], diffuse[kLights][4], specular[kLights][4], position[kLights][4];
    for (int i = 0; i < kLights; ++i) {
      const LightState& l = server.lights[i];
      product(l.ambient, m.ambient, ambient[i]);
      product(l.diffuse, m.diffuse, diffuse[i]);
      product(l.specular, m.specular, specular[i]);
      std::memcpy(position[i], l.position, sizeof position[i]);
    }
    if (p.lightAmbient.changed(&ambient[0][0], 4 * kLights))
      glUniform4fv(p.lightAmbient.location, kLights, &ambient[0][0]);
    if (p.lightDiffuse.changed(&diffuse[0][0], 4 * kLights))
      glUniform4fv(p.lightDiffuse.location, kLights, &diffuse[0][0]);
    if (p.lightSpecular.changed(&specular[0][0], 4 * kLights))
      glUniform4fv(p.lightSpecular.location, kLights, &specular[0][0]);
    if (p.lightPosition.changed(&position[0][0], 4 * kLights))
      glUniform4fv(p.lightPosition.location, kLights, &position[0][0]);
    if (p.shininess.changed(&m.shininess, 1)) glUniform1f(p.shininess.location, m.shininess);
    if (p.diffuseAlpha.changed(&m.diffuse[3], 1)) glUniform1f(p.diffuseAlpha.location, m.diffuse[3]);
  }
  if (p.fogColor.changed(server.fogColor, 4)) glUniform4fv(p.fogColor.location, 1, server.fogColor);
  const float fog[3] = {server.fogStart, server.fogEnd, server.fogDensity};
  if (p.fogParams.changed(fog, 3)) glUniform3fv(p.fogParams.location, 1, fog);
  const float ref = server.alphaRef < 0.0f ? 0.0f : server.alphaRef > 1.0f ? 1.0f : server.alphaRef;
  if (p.alphaRef.changed(&ref, 1)) glUniform1f(p.alphaRef.location, ref);
}

void Context::draw(GLuint vertexBuffer, GLuint indexBuffer, GLsizei count, GLenum indexType,
                   uint32_t attributes, const float* flatColor) {
  // Vertices whose colours are all alike draw as if they carried none.
  if (flatColor) attributes &= ~uint32_t(kHasColor);
  const float* color = flatColor ? flatColor : server.color;
  bool unitComplete[kUnits];
  for (int u = 0; u < kUnits; ++u)
    unitComplete[u] = complete.count(textures.units[u].bound) != 0;
  bool projective[kUnits];
  for (int u = 0; u < kUnits; ++u) {
    const float* m = textureMatrix[u].entries.back().m;
    projective[u] = (attributes & (kProjective0 << u)) || m[3] != 0.0f || m[7] != 0.0f ||
                    m[11] != 0.0f || m[15] != 1.0f;
  }
  ShaderKey key = ShaderKey::from(server, textures, unitComplete, projective);
  key.flatColor = !key.lighting && !(attributes & kHasColor);
  Program* program = shaders_.get(key, es);
  if (!program) {
    recordError(GL_INVALID_OPERATION);
    return;
  }
  es.useProgram(program->name);
  es.applyRaster(server);
  setUniforms(*program, key, color);
  for (int u = 0; u < kUnits; ++u)
    if (key.environment[u] != Environment::Disabled) es.bindTexture(u, textures.units[u].bound);

  // The position always comes from the vertices; the other attributes
  // where the draw's vertices carry them (bit a of `arrays` for attribute a).
  const float* const current[kAttributeCount] = {nullptr, server.normal, color,
                                                 server.texCoord[0], server.texCoord[1]};
  const uint32_t arrays = 1u | ((attributes & kHasAll) << 1);
  es.setAttributes(vertexBuffer, GLsizei(sizeof(Vertex)), kOffsets, arrays, current);
  if (indexType == 0) {
    glDrawArrays(GL_TRIANGLES, 0, count);
    return;
  }
  es.bindElementBuffer(indexBuffer);
  glDrawElements(GL_TRIANGLES, count, indexType, nullptr);
}

}  // namespace glfixed
