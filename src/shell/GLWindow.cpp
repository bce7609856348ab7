#include "shell/GLWindow.h"

#include <cstdio>

#include "base/PictureBox.h"
#include "platform/Dialogs.h"
#include "platform/Gl.h"

namespace {
uint32_t gFrameCounter = 0;
}

GLWindow::GLWindow(int width, int height, bool fullscreen, Screen screen)
    : fullscreen_(fullscreen && !screen.desktopFullscreen), fit_(screen.fit) {
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
    if (screen.desktopFullscreen) toggleFullscreen();
    fitToDrawable();
    if (scissored_) clearBars();
    platform::setWindowProcedure(window_, this);
  } catch (...) {
    destroy();
    throw;
  }
  stopwatch_.reset();
}

GLWindow::GLWindow(int width, int height, bool fullscreen)
    : GLWindow(width, height, fullscreen, Screen()) {}

GLWindow::~GLWindow() { destroy(); }

void GLWindow::resize(int width, int height) {
  if (height == 0) height = 1;
  if (fitsPicture()) {
    const PictureBox box = fitPicture(width, height);
    glViewport(box.x, box.y, box.width, box.height);
    // Scenes clear what they draw on: only the box.
    glScissor(box.x, box.y, box.width, box.height);
    glEnable(GL_SCISSOR_TEST);
    scissored_ = true;
  } else {
    if (scissored_) glDisable(GL_SCISSOR_TEST);
    scissored_ = false;
    glViewport(0, 0, width, height);
  }
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(90.0, 4.0 / 3.0, 0.1, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void GLWindow::fitToDrawable() {
  int width = 0, height = 0;
  platform::drawableSize(window_, &width, &height);
  resize(width, height);
}

// As the capture's frames begin; every scene sets its own clear colour.
void GLWindow::clearBars() {
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
}

bool GLWindow::toggleFullscreen() {
  if (fullscreen_) {
    // Out of the changed mode, into a framed window of the mode's size.
    platform::restoreDisplayMode();
    platform::setDesktopFullscreen(window_, false);
    fullscreen_ = false;
    platform::showCursor(true);
  } else if (desktop_) {
    if (!platform::setDesktopFullscreen(window_, false)) return false;
    desktop_ = false;
    platform::showCursor(true);
  } else {
    if (!platform::setDesktopFullscreen(window_, true)) return false;
    desktop_ = true;
    platform::showCursor(false);
  }
  // The size messages follow; a display that changes the size later sends
  // another.
  fitToDrawable();
  return true;
}

void GLWindow::endFrame() {
  platform::swapBuffers(window_);
  platform::pumpMessages();
  if (toggleAsked_) {
    toggleAsked_ = false;
    toggleFullscreen();
  }
  // The back buffer's bars are undefined after a swap.
  if (scissored_) clearBars();
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
  if (desktop_) {
    platform::showCursor(true);
    desktop_ = false;
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
      // F11, or F as on the page; not again while the key is held.
      if ((wParam == uintptr_t(platform::kVkF11) || wParam == uintptr_t('F')) &&
          (uint32_t(lParam) & (1u << 30)) == 0)
        toggleAsked_ = true;
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
