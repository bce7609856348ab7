#include "shell/OffscreenTarget.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/PictureBox.h"
#include "gfx/GeometryOutput.h"
#include "shell/ShellError.h"

namespace {

// Framebuffer-object entry points (OpenGL 3.0 or ARB/EXT_framebuffer_object),
// fetched at run time as the show's GL 1.1 headers do not declare them.
constexpr GLenum kFramebuffer = 0x8D40;
constexpr GLenum kRenderbuffer = 0x8D41;
constexpr GLenum kColourAttachment0 = 0x8CE0;
constexpr GLenum kDepthAttachment = 0x8D00;
constexpr GLenum kFramebufferComplete = 0x8CD5;
constexpr GLenum kDepthComponent24 = 0x81A6;
constexpr GLenum kRasterizerDiscard = 0x8C89;  // OpenGL 3.0

using GenProc = void(APIENTRY*)(GLsizei, GLuint*);
using BindProc = void(APIENTRY*)(GLenum, GLuint);
using StorageProc = void(APIENTRY*)(GLenum, GLenum, GLsizei, GLsizei);
using AttachProc = void(APIENTRY*)(GLenum, GLenum, GLenum, GLuint);
using StatusProc = GLenum(APIENTRY*)(GLenum);
using DeleteProc = void(APIENTRY*)(GLsizei, const GLuint*);

struct FramebufferApi {
  GenProc genFramebuffers = nullptr;
  BindProc bindFramebuffer = nullptr;
  GenProc genRenderbuffers = nullptr;
  BindProc bindRenderbuffer = nullptr;
  StorageProc renderbufferStorage = nullptr;
  AttachProc framebufferRenderbuffer = nullptr;
  StatusProc checkFramebufferStatus = nullptr;
  DeleteProc deleteFramebuffers = nullptr;
  DeleteProc deleteRenderbuffers = nullptr;

  template <typename T>
  static T find(const char* name) {
    void* p = platform::glProcAddress(name);
    if (!p) p = platform::glProcAddress((std::string(name) + "EXT").c_str());
    return reinterpret_cast<T>(p);
  }

  bool load() {
    genFramebuffers = find<GenProc>("glGenFramebuffers");
    bindFramebuffer = find<BindProc>("glBindFramebuffer");
    genRenderbuffers = find<GenProc>("glGenRenderbuffers");
    bindRenderbuffer = find<BindProc>("glBindRenderbuffer");
    renderbufferStorage = find<StorageProc>("glRenderbufferStorage");
    framebufferRenderbuffer = find<AttachProc>("glFramebufferRenderbuffer");
    checkFramebufferStatus = find<StatusProc>("glCheckFramebufferStatus");
    deleteFramebuffers = find<DeleteProc>("glDeleteFramebuffers");
    deleteRenderbuffers = find<DeleteProc>("glDeleteRenderbuffers");
    return genFramebuffers && bindFramebuffer && genRenderbuffers && bindRenderbuffer &&
           renderbufferStorage && framebufferRenderbuffer && checkFramebufferStatus &&
           deleteFramebuffers && deleteRenderbuffers;
  }
};

FramebufferApi api;

bool hasRasterizerDiscard() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  return version && std::atoi(version) >= 3;
}

}  // namespace

OffscreenTarget::OffscreenTarget(int width, int height) : width_(width), height_(height) {
  if (width < 1 || height < 1 || width > 8192 || height > 8192)
    throw ShellError("the frame size must be between 1x1 and 8192x8192");
  if (!api.load()) throw ShellError("the OpenGL driver has no framebuffer objects");
  api.genFramebuffers(1, &framebuffer_);
  api.bindFramebuffer(kFramebuffer, framebuffer_);
  api.genRenderbuffers(1, &colour_);
  api.bindRenderbuffer(kRenderbuffer, colour_);
  api.renderbufferStorage(kRenderbuffer, GL_RGBA8, width, height);
  api.framebufferRenderbuffer(kFramebuffer, kColourAttachment0, kRenderbuffer, colour_);
  api.genRenderbuffers(1, &depth_);
  api.bindRenderbuffer(kRenderbuffer, depth_);
  api.renderbufferStorage(kRenderbuffer, kDepthComponent24, width, height);
  api.framebufferRenderbuffer(kFramebuffer, kDepthAttachment, kRenderbuffer, depth_);
  canDiscard_ = hasRasterizerDiscard();
  if (api.checkFramebufferStatus(kFramebuffer) != kFramebufferComplete) {
    release();
    throw ShellError("the OpenGL driver refused a " + std::to_string(width) + "x" +
                     std::to_string(height) + " framebuffer");
  }
}

OffscreenTarget::~OffscreenTarget() { release(); }

void OffscreenTarget::release() {
  if (!framebuffer_) return;
  api.bindFramebuffer(kFramebuffer, 0);
  api.deleteRenderbuffers(1, &depth_);
  api.deleteRenderbuffers(1, &colour_);
  api.deleteFramebuffers(1, &framebuffer_);
  framebuffer_ = 0;
}

void OffscreenTarget::beginFrame() { begin(false); }

void OffscreenTarget::beginDiscardedFrame() { begin(true); }

void OffscreenTarget::begin(bool discard) {
  // The driver queues frames that nobody reads back; each one it still holds
  // keeps its buffers, so hand the previous frame over now.
  glFlush();
  geometryOutput::setEnabled(!discard);
  if (canDiscard_) {
    if (discard) {
      glEnable(kRasterizerDiscard);
    } else {
      glDisable(kRasterizerDiscard);
    }
  }
  api.bindFramebuffer(kFramebuffer, framebuffer_);
  glDisable(GL_SCISSOR_TEST);
  glViewport(0, 0, width_, height_);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  if (!discard) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  // Scenes clear and draw inside the picture's box only.
  const PictureBox box = fitPicture(width_, height_);
  glViewport(box.x, box.y, box.width, box.height);
  if (discard && !canDiscard_) {
    glScissor(0, 0, 0, 0);  // scenes clear and draw nothing
  } else {
    glScissor(box.x, box.y, box.width, box.height);
  }
  glEnable(GL_SCISSOR_TEST);

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(90.0, 4.0 / 3.0, 0.1, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void OffscreenTarget::read(std::vector<uint8_t>* rgb) {
  const size_t row = size_t(width_) * 3;
  bottomUp_.resize(row * size_t(height_));
  rgb->resize(bottomUp_.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, bottomUp_.data());
  // OpenGL's rows run bottom-up; pictures and video run top-down.
  for (int y = 0; y < height_; ++y)
    std::memcpy(rgb->data() + size_t(y) * row, bottomUp_.data() + size_t(height_ - 1 - y) * row,
                row);
}
