// The message pump: SDL events become the Win32 messages the window
// procedures were written for, with Win32's numbers and parameter packing.
#include <cstring>

#include "platform/Window.h"
#include "platform/sdl/SdlKeys.h"
#include "platform/sdl/SdlWindow.h"

namespace platform {
namespace sdl {
namespace {

constexpr uintptr_t kSizeRestored = 0;   // SIZE_RESTORED
constexpr uintptr_t kSizeMinimized = 1;  // SIZE_MINIMIZED

// Down state per virtual-key code, from the events pumped so far.
bool gKeyDown[256] = {};

bool minimised(NativeWindow* window) {
  return (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_MINIMIZED) != 0;
}

// A size message in the drawable's pixels, as Windows gives a DPI-aware
// program its client size; SDL's events count the window's points.
intptr_t sizeInPixels(NativeWindow* window, int width, int height) {
  int points = 0, pointsHigh = 0, pixels = 0, pixelsHigh = 0;
  SDL_GetWindowSize(window->sdl, &points, &pointsHigh);
  SDL_GL_GetDrawableSize(window->sdl, &pixels, &pixelsHigh);
  if (points > 0 && pointsHigh > 0 && (pixels != points || pixelsHigh != pointsHigh)) {
    width = int(int64_t(width) * pixels / points);
    height = int(int64_t(height) * pixelsHigh / pointsHigh);
  }
  return makeSizeParam(width, height);
}

void windowEvent(const SDL_WindowEvent& event) {
  NativeWindow* window = windowFromId(event.windowID);
  if (!window) return;
  switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      sendMessage(window, msg::Size, kSizeRestored, sizeInPixels(window, event.data1, event.data2));
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      // Windows reports a minimised window as 0 by 0.
      sendMessage(window, msg::Activate, makeActivateParam(false, true), 0);
      sendMessage(window, msg::Size, kSizeMinimized, makeSizeParam(0, 0));
      break;
    case SDL_WINDOWEVENT_RESTORED: {
      int width = 0, height = 0;
      SDL_GetWindowSize(window->sdl, &width, &height);
      sendMessage(window, msg::Activate, makeActivateParam(true, false), 0);
      sendMessage(window, msg::Size, kSizeRestored, sizeInPixels(window, width, height));
      break;
    }
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      sendMessage(window, msg::Activate, makeActivateParam(true, minimised(window)), 0);
      askScreenSaverPermission(window);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      // The key-up events of keys still held go to whoever has the focus now.
      clearKeyStates();
      sendMessage(window, msg::Activate, makeActivateParam(false, minimised(window)), 0);
      break;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
      // A window just shown has nothing on it yet: Windows sends it a paint
      // at the next drain, whether or not the display reports an exposure
      // (SDL's offscreen driver reports none).
      sendMessage(window, msg::Paint, 0, 0);
      break;
    case SDL_WINDOWEVENT_CLOSE:
      sendMessage(window, msg::Close, 0, 0);
      break;
    default:
      break;
  }
}

void keyEvent(const SDL_KeyboardEvent& event) {
  int virtualKey = virtualKeyFromSdl(event.keysym.sym);
  if (virtualKey < 0 || virtualKey > 255) return;
  bool down = event.type == SDL_KEYDOWN;
  bool wasDown = gKeyDown[virtualKey];
  gKeyDown[virtualKey] = down;
  NativeWindow* window = windowFromId(event.windowID);
  if (!window) window = windowFromSdl(SDL_GetKeyboardFocus());
  if (!window) return;
  // lParam as Windows packs it: repeat count 1, scan code, previous state
  // (bit 30), transition (bit 31, set for key-up).
  uint32_t lParam = 1u | ((uint32_t(event.keysym.scancode) & 0xFF) << 16);
  if (wasDown || event.repeat) lParam |= 1u << 30;
  if (!down) lParam |= 1u << 31;
  sendMessage(window, down ? msg::KeyDown : msg::KeyUp, uintptr_t(virtualKey), intptr_t(lParam));
}

}  // namespace

void clearKeyStates() { std::memset(gKeyDown, 0, sizeof gKeyDown); }

}  // namespace sdl

void pumpMessages() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
      case SDL_WINDOWEVENT:
        sdl::windowEvent(event.window);
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        sdl::keyEvent(event.key);
        break;
      case SDL_QUIT:
        // Interrupted or terminated (closing a window sends none, see
        // initVideo): end as if every window were closed, so that the
        // display mode is put back on the way out.
        sdl::forEachWindow([](NativeWindow* w) { sdl::sendMessage(w, msg::Close, 0, 0); });
        break;
      default:
        break;
    }
  }
}

// From the key events pumped so far: SDL reports keys only to a focused
// window, so unlike GetAsyncKeyState this does not see keys pressed while
// another program has the focus.
bool asyncKeyDown(int virtualKey) {
  return virtualKey >= 0 && virtualKey < 256 && sdl::gKeyDown[virtualKey];
}

void inhibitScreenSaver(bool inhibit) {
  if (inhibit)
    SDL_DisableScreenSaver();
  else
    SDL_EnableScreenSaver();
}

}  // namespace platform
