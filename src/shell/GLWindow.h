// The show's one window and its OpenGL context, with the per-frame pump.
//
// Overview: constructing a GLWindow switches the display to 640x480 when
// fullscreen is asked for (falling back silently to a framed window whose
// client area has the asked size), makes a double-buffered RGBA context with
// a depth buffer current on the calling thread and sets the standard
// perspective: 90 degrees, aspect 4/3 whatever the window's shape. The window
// procedure keeps a quit flag (Escape, close) and a key table indexed by
// virtual-key code. endFrame() swaps, pumps the messages and, on 16 of every
// 128 frames, writes the smoothed frame rate into the title as "fps: N".
//
// How to use: construct; each frame draw, then endFrame(); leave when
// quitRequested(); destroy() (the destructor does it when nobody did).
// Everything happens on the thread that constructed the window.
#pragma once

#include <cstdint>

#include "platform/Stopwatch.h"
#include "platform/Window.h"
#include "shell/FrameTimeSmoother.h"

class GLWindow {
 public:
  static constexpr const char* kClassName = "OpenGL";
  static constexpr int kKeyCount = 256;

  // Throws platform::PlatformError, with the platform's reason, when the
  // window, its pixel format or its context cannot be had; nothing is left
  // behind then.
  GLWindow(int width, int height, bool fullscreen);
  ~GLWindow();
  GLWindow(const GLWindow&) = delete;
  GLWindow& operator=(const GLWindow&) = delete;

  // Viewport for a client size; the projection does not follow the shape.
  void resize(int width, int height);
  // Swap, message pump, frame-rate title; once per frame after drawing.
  void endFrame();
  bool quitRequested() const { return quitRequested_; }
  // Puts the display mode and the cursor back and frees context and window.
  // Safe to call more than once.
  void destroy();

  platform::WindowHandle window() const { return window_; }
  bool fullscreen() const { return fullscreen_; }
  bool active() const { return active_; }
  // The key table: true while the key with this virtual-key code is down.
  bool keyDown(int virtualKey) const {
    return virtualKey >= 0 && virtualKey < kKeyCount && keys_[virtualKey];
  }

  // The process-wide frame counter: frames ended so far by any GLWindow.
  static uint32_t frameCounter();
  // Whether endFrame writes the title on the frame with this counter value.
  static bool showsRateOnFrame(uint32_t counter) { return (counter & 0x46) == 0; }

  // The window procedure of class "OpenGL"; user is the GLWindow.
  static intptr_t windowProcedure(void* user, platform::WindowHandle window, uint32_t message,
                                  uintptr_t wParam, intptr_t lParam);

 private:
  intptr_t handleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

  bool fullscreen_;
  bool keys_[kKeyCount] = {};
  bool quitRequested_ = false;
  bool active_ = true;
  platform::GLContextHandle context_ = nullptr;
  platform::WindowHandle window_ = nullptr;
  bool classRegistered_ = false;
  Stopwatch stopwatch_;
  FrameTimeSmoother frameTime_;
};
