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

// The vertices an array draw reads: elements first to last of the arrays
// into c.begun, and which attributes they carry.
uint32_t gatherArrays(Context& c, size_t first, size_t last) {
  static const float kOrigin[4] = {0, 0, 0, 1};
  uint32_t attributes = 0;
  if (c.normalArray.enabled) attributes |= glfixed::kHasNormal;
  if (c.texCoordArray[0].enabled) attributes |= glfixed::kHasTexCoord0;
  if (c.texCoordArray[1].enabled) attributes |= glfixed::kHasTexCoord1;
  for (int u = 0; u < glfixed::kUnits; ++u)
    if (c.texCoordArray[u].enabled && c.texCoordArray[u].size > 3) attributes |= glfixed::kProjective0 << u;
  c.begun.resize(last - first + 1);
  for (size_t index = first; index <= last; ++index) {
    Vertex& v = c.begun[index - first];
    readArray(c.vertexArray, index, 4, v.position, kOrigin);
    if (attributes & glfixed::kHasNormal) readArray(c.normalArray, index, 3, v.normal, c.server.normal);
    for (int u = 0; u < glfixed::kUnits; ++u)
      if (c.texCoordArray[u].enabled) readArray(c.texCoordArray[u], index, 4, v.texCoord[u], kOrigin);
  }
  return attributes;
}

// glDrawElements' indices as elements into the vertices gathered from the
// lowest index on.
template <typename Index>
void drawIndexed(Context& c, GLenum mode, const Index* indices, size_t count) {
  std::vector<uint32_t>& elements = c.elements;
  Index lowest = indices[0], highest = indices[0];
  for (size_t i = 1; i < count; ++i) {
    if (indices[i] < lowest) lowest = indices[i];
    if (indices[i] > highest) highest = indices[i];
  }
  elements.resize(count);
  for (size_t i = 0; i < count; ++i) elements[i] = uint32_t(indices[i] - lowest);
  const uint32_t attributes = gatherArrays(c, lowest, highest);
  c.submit(mode, c.begun.data(), c.begun.size(), elements.data(), count, attributes);
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
  c.submit(c.beginMode, c.begun.data(), c.begun.size(), nullptr, c.begun.size(), glfixed::kHasAll);
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
  if (count <= 0 || !indices || !c.vertexArray.enabled) return;
  switch (type) {
    case GL_UNSIGNED_INT:
      drawIndexed(c, mode, static_cast<const uint32_t*>(indices), size_t(count));
      break;
    case GL_UNSIGNED_SHORT:
      drawIndexed(c, mode, static_cast<const uint16_t*>(indices), size_t(count));
      break;
    case GL_UNSIGNED_BYTE:
      drawIndexed(c, mode, static_cast<const uint8_t*>(indices), size_t(count));
      break;
    default:
      break;
  }
}

void fglDrawArrays(GLenum mode, GLint first, GLsizei count) {
  Context& c = ctx();
  if (count <= 0 || first < 0 || !c.vertexArray.enabled) return;
  const uint32_t attributes = gatherArrays(c, size_t(first), size_t(first) + size_t(count) - 1);
  c.submit(mode, c.begun.data(), c.begun.size(), nullptr, size_t(count), attributes);
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
  c.deleteList(list);
  c.compiling = list;
  c.lists[list];
}

void fglEndList() { ctx().endList(); }

void fglCallList(GLuint list) { ctx().callList(list); }

void fglDeleteLists(GLuint list, GLsizei range) {
  Context& c = ctx();
  for (GLsizei i = 0; i < range; ++i) c.deleteList(list + GLuint(i));
}
