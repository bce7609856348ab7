// What the web backend's files share: the one window (the page's canvas)
// and the frame loop's pacing.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Window.h"

namespace platform {

// The canvas as a window: Win32's per-window state that a page has no
// notion of.
struct NativeWindow {
  WindowProcedure procedure = nullptr;
  void* user = nullptr;
  bool hasUser = false;
  int width = 0;
  int height = 0;
  int32_t data = 0;
  std::string title;
};

namespace web {

// Sends a message to the window's procedure (or the default one).
intptr_t sendMessage(NativeWindow* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// The window that gets the keys: the latest one made and not destroyed.
NativeWindow* keyWindow();

// Tells the page (Module.kylEvent(name, text)): "title" with the title,
// "window-shown", "window-closed", "ended" after the last frame.
void pageEvent(const char* name, const char* text);

// The frame loop waits until this performance-counter moment (the space
// bar's slow-down sleeps without blocking the page).
void delayFramesUntil(int64_t counter);

}  // namespace web
}  // namespace platform
