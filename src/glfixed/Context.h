// The layer's whole state for the current context: the fixed-function state
// with its attribute stack, the matrix stacks, the client arrays, the
// vertices gathered between glBegin and glEnd, the display lists, and the
// ES objects the draws go through. One per process, as the show has one
// context at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

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
// value at draw time.
enum AttributeBits : uint32_t {
  kHasNormal = 1,
  kHasColor = 2,
  kHasTexCoord0 = 4,
  kHasTexCoord1 = 8,
  kHasAll = 15
};

// A compiled list's drawing: vertices in a buffer of their own, as
// triangles.
struct ListDraw {
  GLuint buffer = 0;
  GLsizei vertexCount = 0;
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
  std::vector<Vertex> begun;

  // Lists: the one being compiled (0: none) and the finished ones.
  GLuint compiling = 0;
  GLuint nextList = 1;
  std::unordered_map<GLuint, std::vector<ListDraw>> lists;

  // Texture names that have an image.
  std::unordered_set<GLuint> complete;

  // Turns the gathered vertices of a primitive into triangles and draws them
  // (or records them in the list being compiled).
  void submit(GLenum mode, const Vertex* vertices, size_t count, uint32_t attributes);
  // Draws triangle vertices from a buffer already filled.
  void drawTriangles(GLuint buffer, GLsizei count, uint32_t attributes);
  // Brings the ES state (caps, blend, depth, viewport, scissor, clear
  // colour) in line with the layer's.
  void applyRasterState();
  // Marks everything applied as unknown (after a pop or a reset).
  void forgetApplied() { appliedValid_ = false; }
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
  void setUniforms(const Program& program, const ShaderKey& key);
  void bindUnits();

  ShaderCache shaders_;
  GLuint streamBuffer_ = 0;
  size_t streamCapacity_ = 0;
  std::vector<Vertex> triangles_;
  bool appliedValid_ = false;
  struct Applied {
    bool depthTest, blend, cullFace, scissorTest;
    GLenum blendSource, blendDestination, depthFunc;
    GLboolean depthMask;
    float clearColor[4];
    GLint viewport[4], scissor[4];
  } applied_{};
  GLuint currentProgram_ = 0;
  GLenum error_ = GL_NO_ERROR;
};

// Triangulation of OpenGL's polygon primitives into a triangle list, as
// Mesa's draw module splits quads (0 1 3, 1 2 3).
void triangulate(GLenum mode, const Vertex* vertices, size_t count, std::vector<Vertex>* out);

}  // namespace glfixed
