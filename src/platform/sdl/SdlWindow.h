// The SDL2 backend's window record and the calls other SDL backend files
// (the event pump, the dialogs, the painting of plain windows) share.
//
// A WindowHandle is a NativeWindow: the SDL window plus what Win32 keeps per
// window and SDL has no notion of (the class procedure with its user
// pointer, the 4 bytes of window data). Messages reach the procedure through
// sendMessage, synchronously, as SendMessage does.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/Window.h"

namespace platform {

struct NativeWindow {
  SDL_Window* sdl = nullptr;
  WindowProcedure procedure = nullptr;  // of the window's class
  void* user = nullptr;                 // set by setWindowProcedure
  bool hasUser = false;                 // until then: default processing
  bool fullscreen = false;              // made with the display mode changed
  int framedWidth = 0;                  // the size to go back to from desktop
  int framedHeight = 0;                 // fullscreen (0: none kept)
  int32_t data = 0;                     // SetWindowLongA/GetWindowLongA at 0
};

namespace sdl {

// Initialises SDL's video once. False with a message naming the problem when
// there is no display to show windows on; SDL's offscreen driver counts as a
// display only when it was asked for (SDL_VIDEODRIVER=offscreen).
bool initVideo(std::string* error);
// True when SDL draws into memory (the offscreen driver), with no display.
bool drawsOffscreen();
// True when drawing without a display was asked for (tests, capture): nobody
// is there to answer a message box.
bool headless();

// The record of an SDL window of ours, null for a window we did not make.
NativeWindow* windowFromSdl(SDL_Window* window);
NativeWindow* windowFromId(Uint32 windowId);

// Hands a message to the window's procedure, or to defaultProcedure while the
// window has no user pointer yet; returns the result.
intptr_t sendMessage(NativeWindow* window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// Calls f(window) for every window of ours, in creation order.
template <typename F>
void forEachWindow(F f);

// The windows of ours, for forEachWindow. Fixed capacity: the show has one
// window, the precalculation a second.
constexpr int kMaxWindows = 8;
extern NativeWindow* gWindows[kMaxWindows];

template <typename F>
void forEachWindow(F f) {
  for (NativeWindow* window : gWindows)
    if (window) f(window);
}

// Lets the window's procedure decide whether the screen saver and display
// power-down may start, as Windows asks the foreground window with
// WM_SYSCOMMAND: they stay off unless the procedure passes the requests on to
// defaultProcedure.
void askScreenSaverPermission(NativeWindow* window);

// How changeDisplayMode sets the mode of its fullscreen window:
// SDL_SetWindowDisplayMode, or a refusal that tests put in its place.
extern int (*gSetWindowDisplayMode)(SDL_Window*, const SDL_DisplayMode*);

// Stops using the window as the message boxes' default owner (it is going).
void forgetMessageBoxOwner(NativeWindow* window);

// Forgets the key states (on losing focus, when the keys' up events go
// elsewhere).
void clearKeyStates();

}  // namespace sdl
}  // namespace platform
