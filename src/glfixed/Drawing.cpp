// The layer's drawing entry points: glBegin/glEnd with the current values,
// the client arrays with glDrawElements and glDrawArrays, and display lists.
#include <cstring>

#include "glfixed/Context.h"
#include "glfixed/FixedGl.h"

using glfixed::Context;
using glfixed::Vertex;

namespace {

Context& ctx() { return Context::get(); }

// Reads element `index` of a float array into out, filling what the array
// leaves out from `fill` (0, 0, 0, 1 for positions and coordinates).
void readArray(const glfixed::ClientArray& array, size_t index, int components, float* out,
               const float* fill) {
  std::memcpy(out, fill, size_t(components) * sizeof(float));
  if (array.type != GL_FLOAT || !array.pointer) return;
  const size_t stride = array.stride ? size_t(array.stride) : size_t(array.size) * sizeof(float);
  const auto* element = reinterpret_cast<const float*>(static_cast<const char*>(array.pointer) +
                                                       index * stride);
  const int n = array.size < components ? array.size : components;
  std::memcpy(out, element, size_t(n) * sizeof(float));
}

// The vertices the arrays give, in the order the indices (or first..first +
// count) name them, and which attributes they carry.
uint32_t gatherArrays(Context& c, const uint32_t* indices32, const uint16_t* indices16,
                      const uint8_t* indices8, GLint first, GLsizei count) {
  static const float kOrigin[4] = {0, 0, 0, 1};
  c.begun.clear();
  if (!c.vertexArray.enabled) return 0;
  uint32_t attributes = 0;
  if (c.normalArray.enabled) attributes |= glfixed::kHasNormal;
  if (c.texCoordArray[0].enabled) attributes |= glfixed::kHasTexCoord0;
  if (c.texCoordArray[1].enabled) attributes |= glfixed::kHasTexCoord1;
  c.begun.resize(size_t(count));
  for (GLsizei i = 0; i < count; ++i) {
    const size_t index = indices32   ? indices32[i]
                         : indices16 ? indices16[i]
                         : indices8  ? indices8[i]
                                     : size_t(first + i);
    Vertex& v = c.begun[size_t(i)];
    readArray(c.vertexArray, index, 4, v.position, kOrigin);
    if (attributes & glfixed::kHasNormal) readArray(c.normalArray, index, 3, v.normal, c.server.normal);
    for (int u = 0; u < glfixed::kUnits; ++u)
      if (c.texCoordArray[u].enabled) readArray(c.texCoordArray[u], index, 4, v.texCoord[u], kOrigin);
  }
  return attributes;
}

glfixed::ClientArray* clientArray(GLenum array) {
  Context& c = ctx();
  switch (array) {
    case GL_VERTEX_ARRAY: return &c.vertexArray;
    case GL_NORMAL_ARRAY: return &c.normalArray;
    case GL_TEXTURE_COORD_ARRAY: return &c.texCoordArray[c.clientUnit];
    default: return nullptr;
  }
}

void vertex(float x, float y, float z) {
  Context& c = ctx();
  if (!c.inBegin) return;
  Vertex v;
  v.position[0] = x;
  v.position[1] = y;
  v.position[2] = z;
  v.position[3] = 1.0f;
  std::memcpy(v.normal, c.server.normal, sizeof v.normal);
  std::memcpy(v.color, c.server.color, sizeof v.color);
  std::memcpy(v.texCoord, c.server.texCoord, sizeof v.texCoord);
  c.begun.push_back(v);
}

}  // namespace

void fglBegin(GLenum mode) {
  Context& c = ctx();
  c.inBegin = true;
  c.beginMode = mode;
  c.begun.clear();
}

void fglEnd() {
  Context& c = ctx();
  if (!c.inBegin) return;
  c.inBegin = false;
  c.submit(c.beginMode, c.begun.data(), c.begun.size(), glfixed::kHasAll);
}

void fglVertex2f(GLfloat x, GLfloat y) { vertex(x, y, 0.0f); }
void fglVertex3f(GLfloat x, GLfloat y, GLfloat z) { vertex(x, y, z); }
void fglColor3f(GLfloat r, GLfloat g, GLfloat b) { fglColor4f(r, g, b, 1.0f); }
void fglColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
  float* c = ctx().server.color;
  c[0] = r;
  c[1] = g;
  c[2] = b;
  c[3] = a;
}
void fglNormal3f(GLfloat x, GLfloat y, GLfloat z) {
  float* n = ctx().server.normal;
  n[0] = x;
  n[1] = y;
  n[2] = z;
}
void fglTexCoord2f(GLfloat s, GLfloat t) {
  float* tc = ctx().server.texCoord[0];
  tc[0] = s;
  tc[1] = t;
  tc[2] = 0.0f;
  tc[3] = 1.0f;
}

void fglEnableClientState(GLenum array) {
  if (glfixed::ClientArray* a = clientArray(array)) a->enabled = true;
}
void fglDisableClientState(GLenum array) {
  if (glfixed::ClientArray* a = clientArray(array)) a->enabled = false;
}
void fglVertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
  ctx().vertexArray = {ctx().vertexArray.enabled, size, type, stride, pointer};
}
void fglNormalPointer(GLenum type, GLsizei stride, const void* pointer) {
  ctx().normalArray = {ctx().normalArray.enabled, 3, type, stride, pointer};
}
void fglTexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer) {
  glfixed::ClientArray& a = ctx().texCoordArray[ctx().clientUnit];
  a = {a.enabled, size, type, stride, pointer};
}

void fglDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
  Context& c = ctx();
  if (count <= 0 || !indices) return;
  const uint32_t attributes = gatherArrays(
      c, type == GL_UNSIGNED_INT ? static_cast<const uint32_t*>(indices) : nullptr,
      type == GL_UNSIGNED_SHORT ? static_cast<const uint16_t*>(indices) : nullptr,
      type == GL_UNSIGNED_BYTE ? static_cast<const uint8_t*>(indices) : nullptr, 0, count);
  c.submit(mode, c.begun.data(), c.begun.size(), attributes);
}

void fglDrawArrays(GLenum mode, GLint first, GLsizei count) {
  Context& c = ctx();
  if (count <= 0) return;
  const uint32_t attributes = gatherArrays(c, nullptr, nullptr, nullptr, first, count);
  c.submit(mode, c.begun.data(), c.begun.size(), attributes);
}

GLuint fglGenLists(GLsizei range) {
  Context& c = ctx();
  if (range <= 0) return 0;
  const GLuint first = c.nextList;
  c.nextList += GLuint(range);
  return first;
}

void fglNewList(GLuint list, GLenum) {
  Context& c = ctx();
  if (list == 0 || c.compiling) return;
  fglDeleteLists(list, 1);
  c.compiling = list;
  c.lists[list];
}

void fglEndList() { ctx().compiling = 0; }

void fglCallList(GLuint list) {
  Context& c = ctx();
  auto found = c.lists.find(list);
  if (found == c.lists.end()) return;
  for (const glfixed::ListDraw& draw : found->second)
    c.drawTriangles(draw.buffer, draw.vertexCount, draw.attributes);
}

void fglDeleteLists(GLuint list, GLsizei range) {
  Context& c = ctx();
  for (GLsizei i = 0; i < range; ++i) {
    auto found = c.lists.find(list + GLuint(i));
    if (found == c.lists.end()) continue;
    for (const glfixed::ListDraw& draw : found->second) glDeleteBuffers(1, &draw.buffer);
    c.lists.erase(found);
  }
}
