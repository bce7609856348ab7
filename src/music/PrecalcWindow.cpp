#include "music/PrecalcWindow.h"

#include <cstdio>

PrecalcWindow::PrecalcWindow() {
  platform::registerWindowClass(kClassName, &PrecalcWindow::procedure,
                                platform::WindowClassLook::Plain);
  int left = 0, top = 0, right = 0, bottom = 0;
  platform::desktopRect(&left, &top, &right, &bottom);
  try {
    window_ = platform::createWindow(kClassName, "", platform::WindowStyle::OverlappedPlain,
                                     centredLeft(right), centredTop(bottom), kWidth, kHeight);
  } catch (const platform::PlatformError& error) {
    // The rendering does not need the window; it only shows progress.
    std::fprintf(stderr, "precalculation: no progress window: %s\n", error.what());
    window_ = nullptr;
    return;
  }
  platform::setWindowData(window_, 0);
  platform::setWindowProcedure(window_, this);
  platform::showWindow(window_);
}

PrecalcWindow::~PrecalcWindow() {
  if (window_) {
    platform::destroyWindow(window_);
    window_ = nullptr;
  }
  platform::pumpMessages();
}

void PrecalcWindow::showProgress(uint32_t percent) {
  if (!window_) return;
  char title[64];
  std::snprintf(title, sizeof title, "Making music... %d%% done", int(percent));
  platform::setWindowTitle(window_, title);
  platform::setWindowData(window_, int32_t(percent));
  platform::invalidateAndUpdate(window_);
}

void PrecalcWindow::pumpMessages() { platform::pumpMessages(); }

void PrecalcWindow::paintBar(platform::WindowHandle window) {
  const int32_t percent = platform::windowData(window);
  platform::PaintContext paint;
  if (!platform::beginPaint(window, &paint)) return;
  platform::PaintRect done = platform::clientRect(window);
  platform::PaintRect rest = done;
  const int split = done.left + (done.right - done.left) * percent / 100;
  done.right = split;
  rest.left = split;
  platform::fillRect(&paint, done, kDoneColour);
  platform::fillRect(&paint, rest, kLeftColour);
  platform::endPaint(&paint);
  platform::validateRect(window, rest);
}

intptr_t PrecalcWindow::procedure(void* user, platform::WindowHandle window, uint32_t message,
                                  uintptr_t wParam, intptr_t lParam) {
  auto* self = static_cast<PrecalcWindow*>(user);
  switch (message) {
    case platform::msg::Paint:
      paintBar(window);
      return 0;
    case platform::msg::Close:
      // Only the window goes; later updates find no window and do nothing.
      if (self && self->window_ == window) {
        self->window_ = nullptr;
        platform::destroyWindow(window);
      }
      return 0;
    case platform::msg::Destroy:
      return 0;
    default:
      return platform::defaultProcedure(window, message, wParam, lParam);
  }
}
