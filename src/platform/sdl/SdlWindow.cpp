#include "platform/sdl/SdlWindow.h"

#include <cstring>

#include "platform/Dialogs.h"
#include "platform/common/WindowClassTable.h"

namespace platform {
namespace sdl {

NativeWindow* gWindows[kMaxWindows] = {};

namespace {

// The registered window classes. Win32's class icon, cursor and styles have
// no SDL counterpart.
WindowClassTable<kMaxWindows> gClasses;

const char* const kWindowDataKey = "kyl.window";

// The fullscreen window that changeDisplayMode made to switch the mode; the
// next popup window of its size is this one.
SDL_Window* gModeWindow = nullptr;

bool addWindow(NativeWindow* window) {
  for (NativeWindow*& slot : gWindows) {
    if (!slot) {
      slot = window;
      return true;
    }
  }
  return false;
}

void removeWindow(NativeWindow* window) {
  for (NativeWindow*& slot : gWindows)
    if (slot == window) slot = nullptr;
}

SDL_Window* createSdlWindow(const char* title, int x, int y, int width, int height,
                            Uint32 flags) {
  // X11 fixes a window's visual when it is made, so the depth buffer is asked
  // for here: 32 bits, or what the display offers (24, then 16).
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
#ifdef KYL_GL_FIXED
  // The fixed-function layer draws through OpenGL ES 2.
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
#endif
  for (int depth : {32, 24, 16}) {
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth);
    if (SDL_Window* window = SDL_CreateWindow(title, x, y, width, height, flags)) return window;
  }
  return nullptr;
}

// Whether the display now shows the window fullscreen in the mode.
bool inMode(SDL_Window* window, const SDL_DisplayMode& mode) {
  SDL_DisplayMode current{};
  int display = SDL_GetWindowDisplayIndex(window);
  return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0 && display >= 0 &&
         SDL_GetCurrentDisplayMode(display, &current) == 0 && current.w == mode.w &&
         current.h == mode.h;
}

void dropModeWindow() {
  if (!gModeWindow) return;
  SDL_DestroyWindow(gModeWindow);  // puts the desktop's mode back
  gModeWindow = nullptr;
}

}  // namespace

int (*gSetWindowDisplayMode)(SDL_Window*, const SDL_DisplayMode*) = &SDL_SetWindowDisplayMode;

NativeWindow* windowFromSdl(SDL_Window* window) {
  return window ? static_cast<NativeWindow*>(SDL_GetWindowData(window, kWindowDataKey))
                : nullptr;
}

NativeWindow* windowFromId(Uint32 windowId) { return windowFromSdl(SDL_GetWindowFromID(windowId)); }

intptr_t sendMessage(NativeWindow* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (!window) return 0;
  if (!window->hasUser || !window->procedure)
    return defaultProcedure(window, message, wParam, lParam);
  return window->procedure(window->user, window, message, wParam, lParam);
}

void askScreenSaverPermission(NativeWindow* window) {
  if (!window || !window->hasUser) return;
  SDL_DisableScreenSaver();
  sendMessage(window, msg::SysCommand, kScScreenSave, 0);
  sendMessage(window, msg::SysCommand, kScMonitorPower, 2);  // 2: power off
}

}  // namespace sdl

intptr_t defaultProcedure(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t) {
  (void)window;
  if (message == msg::SysCommand) {
    uintptr_t command = wParam & 0xFFF0;
    if (command == kScScreenSave || command == kScMonitorPower) SDL_EnableScreenSaver();
  }
  // Close is left alone: destroying the window under its owner's feet would
  // leave the owner a dangling handle. The owner decides.
  return 0;
}

void registerWindowClass(const char* className, WindowProcedure procedure, WindowClassLook) {
  sdl::gClasses.add(className, procedure);
}

void unregisterWindowClass(const char* className) { sdl::gClasses.remove(className); }

// SDL changes the mode through a fullscreen window, so the window is made
// here: only a mode that is really in force on the display counts, and the
// caller, told of any failure, makes a framed window with the cursor shown.
bool changeDisplayMode(int width, int height, int bits) {
  std::string error;
  if (!sdl::initVideo(&error)) return false;
  sdl::dropModeWindow();
  SDL_DisplayMode found{};
  bool listed = false;
  int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count && !listed; ++i) {
    SDL_DisplayMode mode{};
    if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
    // A true-colour mode serves a 32-bit request: X11 reports those as 24.
    int modeBits = int(SDL_BITSPERPIXEL(mode.format));
    if (mode.w == width && mode.h == height && modeBits >= (bits > 24 ? 24 : bits)) {
      found = mode;
      listed = true;
    }
  }
  if (!listed) return false;
  SDL_Window* window =
      sdl::createSdlWindow("", 0, 0, width, height,
                           SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS |
                               SDL_WINDOW_FULLSCREEN);
  if (!window) return false;
  if (sdl::gSetWindowDisplayMode(window, &found) != 0) {
    SDL_DestroyWindow(window);
    return false;
  }
  // The switch happens when a fullscreen window is shown.
  SDL_ShowWindow(window);
  if (!sdl::inMode(window, found)) {
    SDL_DestroyWindow(window);
    return false;
  }
  sdl::gModeWindow = window;
  return true;
}

void restoreDisplayMode() {
  sdl::dropModeWindow();
  sdl::forEachWindow([](NativeWindow* window) {
    if (window->fullscreen) {
      SDL_SetWindowFullscreen(window->sdl, 0);
      window->fullscreen = false;
    }
  });
}

void showCursor(bool visible) {
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

WindowHandle createWindow(const char* className, const char* title, WindowStyle style, int x,
                          int y, int clientWidth, int clientHeight) {
  std::string error;
  if (!sdl::initVideo(&error)) throw PlatformError(error);
  const WindowProcedure procedure = sdl::gClasses.find(className);
  if (!procedure) throw PlatformError(std::string("no window class ") + className);

  SDL_Window* sdlWindow = nullptr;
  bool fullscreen = false;
  int modeWidth = 0, modeHeight = 0;
  if (sdl::gModeWindow) SDL_GetWindowSize(sdl::gModeWindow, &modeWidth, &modeHeight);
  if (style == WindowStyle::Popup && sdl::gModeWindow && modeWidth == clientWidth &&
      modeHeight == clientHeight) {
    // The window that holds the changed mode: never a desktop-sized window
    // that would stretch the fixed 4/3 picture.
    sdlWindow = sdl::gModeWindow;
    sdl::gModeWindow = nullptr;
    SDL_SetWindowTitle(sdlWindow, title);
    fullscreen = true;
  } else {
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    // The picture is drawn at the display's density (Wayland, macOS); the
    // size asked for stays the window's size in points.
    if (style != WindowStyle::OverlappedPlain) flags |= SDL_WINDOW_ALLOW_HIGHDPI;
    if (style == WindowStyle::Popup)
      flags |= SDL_WINDOW_BORDERLESS;
    else if (style == WindowStyle::OverlappedFramed)
      flags |= SDL_WINDOW_RESIZABLE;
    sdlWindow = sdl::createSdlWindow(title, x, y, clientWidth, clientHeight, flags);
  }
  if (!sdlWindow) throw PlatformError(std::string("cannot create the window: ") + SDL_GetError());

  auto* window = new NativeWindow;
  window->sdl = sdlWindow;
  window->procedure = procedure;
  window->fullscreen = fullscreen;
  if (!sdl::addWindow(window)) {
    SDL_DestroyWindow(sdlWindow);
    delete window;
    throw PlatformError("too many windows");
  }
  SDL_SetWindowData(sdlWindow, sdl::kWindowDataKey, window);
  return window;
}

void destroyWindow(WindowHandle window) {
  if (!window) return;
  if (window->fullscreen) SDL_SetWindowFullscreen(window->sdl, 0);
  sdl::forgetMessageBoxOwner(window);
  sdl::removeWindow(window);
  SDL_DestroyWindow(window->sdl);
  delete window;
  // The window that allowed or refused the screen saver may be this one: the
  // ones left decide again (a progress window must not leave it allowed
  // for the show).
  sdl::forEachWindow([](NativeWindow* w) { sdl::askScreenSaverPermission(w); });
}

void showWindow(WindowHandle window) {
  SDL_ShowWindow(window->sdl);
  SDL_RaiseWindow(window->sdl);
  // Without a window manager raising does not move the keyboard focus (after
  // the progress window, Escape would go nowhere).
  if (!sdl::drawsOffscreen()) SDL_SetWindowInputFocus(window->sdl);
}

void setWindowProcedure(WindowHandle window, void* user) {
  window->user = user;
  window->hasUser = true;
  sdl::askScreenSaverPermission(window);
}

void setWindowTitle(WindowHandle window, const char* title) { SDL_SetWindowTitle(window->sdl, title); }

std::string windowTitle(WindowHandle window) { return SDL_GetWindowTitle(window->sdl); }

void clientSize(WindowHandle window, int* width, int* height) {
  SDL_GetWindowSize(window->sdl, width, height);
}

void drawableSize(WindowHandle window, int* width, int* height) {
  SDL_GL_GetDrawableSize(window->sdl, width, height);
}

bool setDesktopFullscreen(WindowHandle window, bool fullscreen) {
  if (fullscreen) {
    int width = 0, height = 0;
    SDL_GetWindowSize(window->sdl, &width, &height);
    if (SDL_SetWindowFullscreen(window->sdl, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
    if (!window->framedWidth) {
      window->framedWidth = width;
      window->framedHeight = height;
    }
    return true;
  }
  if (SDL_SetWindowFullscreen(window->sdl, 0) != 0) return false;
  // A window made for a display-mode change has no frame of its own.
  SDL_SetWindowBordered(window->sdl, SDL_TRUE);
  SDL_SetWindowResizable(window->sdl, SDL_TRUE);
  // Not every video driver puts the size back itself (offscreen does not).
  if (window->framedWidth)
    SDL_SetWindowSize(window->sdl, window->framedWidth, window->framedHeight);
  window->framedWidth = window->framedHeight = 0;
  return true;
}

void desktopRect(int* left, int* top, int* right, int* bottom) {
  std::string error;
  SDL_Rect r{0, 0, 640, 480};
  if (sdl::initVideo(&error)) SDL_GetDisplayUsableBounds(0, &r);
  *left = r.x;
  *top = r.y;
  *right = r.x + r.w;
  *bottom = r.y + r.h;
}

}  // namespace platform
