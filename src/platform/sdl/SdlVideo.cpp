#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Window.h"
#include "platform/sdl/SdlWindow.h"

namespace platform {
namespace sdl {
namespace {

bool driverWasAskedFor(const char* driver) {
  const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  return asked && std::strstr(asked, driver) != nullptr;
}

// Runs at exit, also after a path that skipped the window's teardown: an X11
// desktop must not be left at 640x480 with the cursor hidden.
void restoreDesktopAtExit() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  restoreDisplayMode();
  SDL_ShowCursor(SDL_ENABLE);
}

}  // namespace

bool initVideo(std::string* error) {
  if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
  // Closing a window is the window's own message. Left on, SDL would follow
  // the close of the last window with an SDL_QUIT that the pump could not
  // tell from an interrupt, and it sends none when another window (the
  // progress window) is still there: every SDL_QUIT now means SIGINT/SIGTERM.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    *error = std::string("cannot open the display: ") + SDL_GetError();
    return false;
  }
  // Without a display SDL quietly picks a driver that draws into memory; the
  // show would then run unseen as if all were well.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* const kUnseen[] = {"offscreen", "dummy"};
  for (const char* unseen : kUnseen) {
    if (driver && std::strcmp(driver, unseen) == 0 && !driverWasAskedFor(unseen)) {
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      const char* display = std::getenv("DISPLAY");
      *error = "no display to show the window on (";
      *error += display && *display ? std::string("the X server at DISPLAY=") + display +
                                          " does not answer"
                                    : std::string("DISPLAY is not set");
      *error +=
          "). Run it on a desktop or under xvfb-run; SDL_VIDEODRIVER=offscreen draws without "
          "showing anything.";
      return false;
    }
  }
  static bool registered = false;
  if (!registered) {
    registered = true;
    std::atexit(restoreDesktopAtExit);
  }
  return true;
}

bool headless() {
  return drawsOffscreen() || driverWasAskedFor("offscreen") || driverWasAskedFor("dummy");
}

bool drawsOffscreen() {
  const char* driver = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetCurrentVideoDriver() : nullptr;
  return driver && std::strcmp(driver, "offscreen") == 0;
}

}  // namespace sdl

void allowVideoWithoutDisplay() {
  if (SDL_WasInit(SDL_INIT_VIDEO) || SDL_GetHint(SDL_HINT_VIDEODRIVER)) return;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((x11 && *x11) || (wayland && *wayland)) return;
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
}

std::string videoDriverName() {
  const char* driver = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetCurrentVideoDriver() : nullptr;
  return driver ? driver : "";
}

}  // namespace platform
