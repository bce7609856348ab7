// The layer's whole state for the current context: the fixed-function state
// with its attribute stack, the matrix stacks, the client arrays, the
// vertices gathered between glBegin and glEnd, the display lists, and the
// ES objects and state the draws go through. A draw goes to ES as its
// vertices and the triangles over them as indices, so that each vertex is
// sent and shaded once; a list is one such drawing in buffers of its own. One per process, as the show has one
// context at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "glfixed/EsState.h"
#include "glfixed/FixedState.h"
#include "glfixed/Matrix4.h"
#include "glfixed/ShaderCache.h"

namespace glfixed {

// One vertex as the layer draws it: every attribute, interleaved.
struct Vertex {
  float position[4];
  float normal[3];
  float color[4];
  float texCoord[kUnits][4];
};

// Which attributes a draw's vertices carry; the others take the current
// value at draw time. kProjective bits: a unit's coordinates may end with q
// other than 1.
enum AttributeBits : uint32_t {
  kHasNormal = 1,
  kHasColor = 2,
  kHasTexCoord0 = 4,
  kHasTexCoord1 = 8,
  kHasAll = 15,
  kProjective0 = 16,
  kProjective1 = 32
};

// A compiled list's drawing: its vertices and the triangles over them in
// buffers of their own, drawn in one call.
struct ListDraw {
  GLuint vertexBuffer = 0;
  GLuint indexBuffer = 0;  // 0: the vertices are the triangles
  GLsizei count = 0;       // indices, or vertices without them
  GLenum indexType = GL_UNSIGNED_SHORT;
  uint32_t attributes = 0;
};

struct MatrixStack {
  std::vector<Matrix4> entries;  // back() is the current matrix
  size_t depth = 32;
};

// A client array as glVertexPointer and its kin describe it.
struct ClientArray {
  bool enabled = false;
  GLint size = 4;
  GLenum type = GL_FLOAT;
  GLsizei stride = 0;
  const void* pointer = nullptr;
};

class Context {
 public:
  static Context& get();
  // Drops the context's objects; the next get() starts afresh.
  static void reset();

  ServerState server;
  TextureState textures;
  std::vector<ServerState> serverStack;
  std::vector<TextureState> textureStack;
  std::vector<GLbitfield> attribMasks;

  MatrixStack modelView;
  MatrixStack projection;
  MatrixStack textureMatrix[kUnits];
  Matrix4& currentMatrix();
  MatrixStack& currentStack();

  ClientArray vertexArray;
  ClientArray normalArray;
  ClientArray texCoordArray[kUnits];
  int clientUnit = 0;
  GLint packAlignment = 4;

  // glBegin .. glEnd.
  bool inBegin = false;
  GLenum beginMode = 0;
  std::vector<Vertex> begun;  // also the vertices an array draw reads
  std::vector<uint32_t> elements;  // an array draw's indices into them

  // Lists: the one being compiled (0: none) and the finished ones.
  GLuint compiling = 0;
  GLuint nextList = 1;
  std::unordered_map<GLuint, std::vector<ListDraw>> lists;

  // Texture names that have an image.
  std::unordered_set<GLuint> complete;

  // What ES holds; every ES state change goes through it.
  EsState es;

  // Draws a primitive of `mode` over `vertices` as triangles, or records it
  // in the list being compiled. `elements`, when given, names the vertex of
  // each of the primitive's `count` elements; else they are the vertices in
  // order.
  void submit(GLenum mode, const Vertex* vertices, size_t vertexCount, const uint32_t* elements,
              size_t count, uint32_t attributes);
  // Ends the list being compiled: its drawing goes to buffers of its own.
  void endList();
  void callList(GLuint list);
  void deleteList(GLuint list);
  // The programs made so far (a test stores a refused one through it).
  ShaderCache& shaders() { return shaders_; }

  // GL's own way of saying a call failed: the layer's error flag, which
  // glGetError returns (and clears) before asking the driver. The first
  // error stays until it is read, as GL keeps it.
  void recordError(GLenum error) {
    if (error_ == GL_NO_ERROR) error_ = error;
  }
  GLenum takeError() {
    const GLenum error = error_;
    error_ = GL_NO_ERROR;
    return error;
  }

 private:
  Context();
  // Whether every vertex lies inside the clip volume, as the current
  // matrices place it.
  bool insideClipVolume(const Vertex* vertices, size_t count) const;
  // The colour of every vertex when they all have the same one, else null.
  static const float* sameColor(const Vertex* vertices, size_t count);
  // Puts vertices and the triangles over them into the two buffers;
  // the index type (0: too many vertices for the context's indices, the
  // triangles' vertices went in one by one). Sets *count to what to draw.
  GLenum upload(const Vertex* vertices, size_t vertexCount, const std::vector<uint32_t>& indices,
                GLuint vertexBuffer, GLuint indexBuffer, GLenum usage, GLsizei* count);
  // The list's drawing gathered so far goes to buffers of its own.
  void flushList();
  // flatColor: the colour of every vertex when they are all alike (null:
  // they differ, or the attributes carry none and the current one holds).
  void draw(GLuint vertexBuffer, GLuint indexBuffer, GLsizei count, GLenum indexType,
            uint32_t attributes, const float* flatColor = nullptr);
  void setUniforms(Program& program, const ShaderKey& key, const float* color);

  ShaderCache shaders_;
  GLuint streamVertices_ = 0;
  GLuint streamIndices_ = 0;
  // 32-bit indices are there (WebGL 2, ES 3, or the ES 2 extension).
  bool wideIndices_ = false;
  // The draw being made: its triangles, as indices into its vertices, and
  // scratch for the forms they go to ES in.
  std::vector<uint32_t> indices_;
  std::vector<uint16_t> shortIndices_;
  std::vector<Vertex> expanded_;
  // The list being compiled: the run of draws whose vertices carry the same
  // attributes, merged into one drawing.
  std::vector<Vertex> listVertices_;
  std::vector<uint32_t> listIndices_;
  uint32_t listAttributes_ = 0;
  GLenum error_ = GL_NO_ERROR;
};

// Which diagonal a quad is cut along. OpenGL leaves it to the driver; the
// layer cuts as Mesa's llvmpipe, the pipeline the page is held against,
// does: a draw of quads that lies wholly inside the clip volume along 0-2
// (0 1 2, 0 2 3), one that is clipped, or a display list, along 1-3 (0 1 3,
// 1 2 3). It shows where the colours or coordinates are not affine across
// a quad.
enum class QuadSplit { AlongFirst, AlongSecond };

// OpenGL's polygon primitives as a triangle list: appends to out the
// indices of each triangle's vertices, base + elements[k] for the k-th of
// the count elements (base + k without elements). Points and lines give
// none.
void triangulate(GLenum mode, size_t count, const uint32_t* elements, uint32_t base,
                 QuadSplit split, std::vector<uint32_t>* out);

}  // namespace glfixed
