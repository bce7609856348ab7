// A hidden window with a current OpenGL context, for work that needs GL but
// shows nothing: the texture export, the start-up benchmark and tests.
// Built on the platform layer, so it runs wherever the show runs (SDL's
// offscreen video included).
#pragma once

#include "platform/Window.h"

class HiddenGlContext {
 public:
  // Throws platform::PlatformError when no window or context can be had.
  HiddenGlContext(int width, int height);
  ~HiddenGlContext();
  HiddenGlContext(const HiddenGlContext&) = delete;
  HiddenGlContext& operator=(const HiddenGlContext&) = delete;

  platform::WindowHandle window() const { return window_; }

  static constexpr const char* kClassName = "KylHiddenGL";

 private:
  platform::WindowHandle window_ = nullptr;
  platform::GLContextHandle context_ = nullptr;
};
