// How the platform layer says it cannot do something: whatever it is asked to
// make (a window class, a window, a pixel format, an OpenGL context, a sound
// device, a sound buffer) either comes back whole or is refused by throwing
// PlatformError, whose what() holds the system's own words (SDL_GetError, the
// Win32 error text, the browser's). Every backend does the same; the caller
// catches and decides what the user sees.
//
// Requests the system may refuse and the caller simply goes on without (a
// display mode, desktop fullscreen, the swap interval, the cooperative level,
// the ring's cursors, lock and play) return false instead, as their Win32 and
// DirectSound originals do: the streaming pass answers a refused lock by
// resyncing, many times a second, with nothing allocated.
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

class PlatformError : public std::runtime_error {
 public:
  explicit PlatformError(const std::string& text) : std::runtime_error(text) {}
};

}  // namespace platform
