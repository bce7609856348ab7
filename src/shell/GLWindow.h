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
// Beyond that window: the viewport follows the window's drawable pixels and
// the picture stretches with it, unless the window fits the picture
// (Screen::fit, and always in desktop fullscreen): then it is drawn in the
// largest centred 4/3 box (fitPicture), scissored, with black bars around.
// F11 or F switches between the window and desktop fullscreen (the desktop's
// own resolution, no mode change); from the 640x480 mode it goes back to a
// window.
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

  // What the live show asks of the screen beyond the designed window.
  struct Screen {
    bool fit = false;                // the picture in a centred 4/3 box, black bars
    bool desktopFullscreen = false;  // start in desktop fullscreen (fitted)
  };

  // Throws platform::PlatformError, with the platform's reason, when the
  // window, its pixel format or its context cannot be had; nothing is left
  // behind then. fullscreen asks for the display-mode change; with
  // screen.desktopFullscreen it is not made.
  GLWindow(int width, int height, bool fullscreen, Screen screen);
  GLWindow(int width, int height, bool fullscreen);
  ~GLWindow();
  GLWindow(const GLWindow&) = delete;
  GLWindow& operator=(const GLWindow&) = delete;

  // Viewport for a drawable size; the projection does not follow the shape.
  void resize(int width, int height);
  // Swap, message pump, a fullscreen switch the keys asked for, the black
  // bars of a fitted picture, frame-rate title; once per frame after drawing.
  void endFrame();
  // Between the window and desktop fullscreen (leaving the 640x480 mode when
  // in it). False when the system refused; nothing changed then.
  bool toggleFullscreen();
  bool quitRequested() const { return quitRequested_; }
  // Puts the display mode and the cursor back and frees context and window.
  // Safe to call more than once.
  void destroy();

  platform::WindowHandle window() const { return window_; }
  bool fullscreen() const { return fullscreen_; }
  bool desktopFullscreen() const { return desktop_; }
  // Whether the picture is drawn in its 4/3 box with bars around it.
  bool fitsPicture() const { return fit_ || desktop_; }
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
  // resize() at the drawable's current size.
  void fitToDrawable();
  // Blacks out the drawable outside the picture's box.
  void clearBars();

  bool fullscreen_;
  bool fit_;
  bool desktop_ = false;
  bool scissored_ = false;      // the box's scissor is on
  bool toggleAsked_ = false;    // by F11 or F, done after the pump
  bool keys_[kKeyCount] = {};
  bool quitRequested_ = false;
  bool active_ = true;
  platform::GLContextHandle context_ = nullptr;
  platform::WindowHandle window_ = nullptr;
  bool classRegistered_ = false;
  Stopwatch stopwatch_;
  FrameTimeSmoother frameTime_;
};
