#include "gfx/HiddenGlContext.h"

#include "platform/Gl.h"

namespace {
intptr_t ignoreMessages(void*, platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                        intptr_t lParam) {
  return platform::defaultProcedure(window, message, wParam, lParam);
}
}  // namespace

HiddenGlContext::HiddenGlContext(int width, int height) {
  platform::registerWindowClass(kClassName, ignoreMessages);
  window_ = platform::createWindow(kClassName, "Kylvander", platform::WindowStyle::OverlappedFramed,
                                   0, 0, width, height);
  try {
    context_ = platform::createGLContext(window_, 32, 32);
  } catch (...) {
    platform::destroyWindow(window_);
    throw;
  }
  glViewport(0, 0, width, height);
}

HiddenGlContext::~HiddenGlContext() {
  platform::deleteGLContext(window_, context_);
  platform::destroyWindow(window_);
}
