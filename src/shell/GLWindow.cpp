#include "shell/GLWindow.h"

#include <cstdio>

#include "platform/Dialogs.h"
#include "platform/Gl.h"

namespace {
uint32_t gFrameCounter = 0;
}

GLWindow::GLWindow(int width, int height, bool fullscreen) : fullscreen_(fullscreen) {
  try {
    platform::registerWindowClass(kClassName, &GLWindow::windowProcedure);
    classRegistered_ = true;

    if (fullscreen_ && !platform::changeDisplayMode(width, height, 32)) fullscreen_ = false;
    if (fullscreen_) platform::showCursor(false);
    const auto style =
        fullscreen_ ? platform::WindowStyle::Popup : platform::WindowStyle::OverlappedFramed;

    window_ = platform::createWindow(kClassName, "", style, 0, 0, width, height);
    context_ = platform::createGLContext(window_, 32, 32);
    platform::showWindow(window_);
    // From here on a message box stays in front of the window.
    platform::setDefaultMessageBoxOwner(window_);
    resize(width, height);
    platform::setWindowProcedure(window_, this);
  } catch (...) {
    destroy();
    throw;
  }
  stopwatch_.reset();
}

GLWindow::~GLWindow() { destroy(); }

void GLWindow::resize(int width, int height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(90.0, 4.0 / 3.0, 0.1, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void GLWindow::endFrame() {
  platform::swapBuffers(window_);
  platform::pumpMessages();
  frameTime_.add(stopwatch_.seconds());
  if (showsRateOnFrame(gFrameCounter)) {
    char title[64];
    std::snprintf(title, sizeof title, "fps: %.0lf", frameTime_.rate());
    platform::setWindowTitle(window_, title);
  }
  ++gFrameCounter;
}

void GLWindow::destroy() {
  if (fullscreen_) {
    platform::restoreDisplayMode();
    platform::showCursor(true);
    fullscreen_ = false;
  }
  if (context_) {
    platform::deleteGLContext(window_, context_);
    context_ = nullptr;
  }
  if (window_) {
    platform::setDefaultMessageBoxOwner(nullptr);
    platform::destroyWindow(window_);
    window_ = nullptr;
  }
  if (classRegistered_) {
    platform::unregisterWindowClass(kClassName);
    classRegistered_ = false;
  }
}

uint32_t GLWindow::frameCounter() { return gFrameCounter; }

intptr_t GLWindow::windowProcedure(void* user, platform::WindowHandle window, uint32_t message,
                                   uintptr_t wParam, intptr_t lParam) {
  auto* self = static_cast<GLWindow*>(user);
  if (!self) return platform::defaultProcedure(window, message, wParam, lParam);
  return self->handleMessage(message, wParam, lParam);
}

intptr_t GLWindow::handleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  namespace msg = platform::msg;
  switch (message) {
    case msg::Size:
      resize(int(lParam & 0xFFFF), int((lParam >> 16) & 0xFFFF));
      return 0;
    case msg::Activate:
      active_ = ((wParam >> 16) & 0xFFFF) == 0;
      return 0;
    case msg::Close:
      // The flag, not a quit message, ends the show.
      quitRequested_ = true;
      return 0;
    case msg::KeyDown:
      if (wParam < uintptr_t(kKeyCount)) keys_[wParam] = true;
      if (wParam == uintptr_t(platform::kVkEscape)) quitRequested_ = true;
      return 0;
    case msg::KeyUp:
      if (wParam < uintptr_t(kKeyCount)) keys_[wParam] = false;
      return 0;
    case msg::SysCommand:
      // Neither screen saver nor monitor power-down while the show runs.
      if (wParam == platform::kScScreenSave || wParam == platform::kScMonitorPower) return 0;
      break;
    default:
      break;
  }
  return platform::defaultProcedure(window_, message, wParam, lParam);
}
