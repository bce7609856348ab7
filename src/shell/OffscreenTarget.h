// A framebuffer object of any size that the offline modes (capture,
// screenshots) draw the show into, so that the picture never depends on a
// window's size, visibility or the display. The show's 4/3 picture fills the
// largest centred 4/3 box of the frame (fitPicture); the rest stays black.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Gl.h"

class OffscreenTarget {
 public:
  // Needs a current GL context. Throws ShellError when the size or the
  // driver does not allow it.
  OffscreenTarget(int width, int height);
  ~OffscreenTarget();
  OffscreenTarget(const OffscreenTarget&) = delete;
  OffscreenTarget& operator=(const OffscreenTarget&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }

  // Binds the target, blacks it out, and sets what the show's window gives
  // its scenes: the viewport (here the 4/3 box, scissored), the 90-degree
  // perspective and an identity model-view.
  void beginFrame();
  // As beginFrame, but nothing drawn until the next beginFrame reaches the
  // target: for frames drawn only for the state they leave in the scenes
  // (their clocks, particles, random draws). The driver skips the
  // rasterisation, which is nearly all of a frame's cost.
  void beginDiscardedFrame();
  // The frame as RGB bytes, top row first (width x height x 3).
  void read(std::vector<uint8_t>* rgb);

 private:
  void begin(bool discard);
  void release();

  int width_;
  int height_;
  GLuint framebuffer_ = 0;
  GLuint colour_ = 0;
  GLuint depth_ = 0;
  // GL_RASTERIZER_DISCARD is there (OpenGL 3.0); else an empty scissor box
  // keeps the pixels.
  bool canDiscard_ = false;
  std::vector<uint8_t> bottomUp_;
};
