// Windows, their messages and the OpenGL context.
//
// Overview: the shell keeps its window logic (a window procedure with a
// message table, a key table indexed by virtual-key code) exactly as a Win32
// program would; this layer supplies the calls under it. The Win32 backend
// makes the real calls; the SDL2 backend turns SDL events into the same
// messages, with the same numbers, and hands them to the procedure from
// pumpMessages().
//
// Sizes are the display's pixels, as a DPI-aware Win32 program sees them:
// size messages and drawableSize give the drawable's pixels, which on a
// high-density display are more than the window's points.
//
// How to use: registerWindowClass, changeDisplayMode (fullscreen only),
// createWindow, createGLContext, showWindow, setWindowProcedure; then once a
// frame swapBuffers and pumpMessages; at the end the reverse.
#pragma once

#include <cstdint>
#include <string>

#include "platform/PlatformError.h"

namespace platform {

struct NativeWindow;
using WindowHandle = NativeWindow*;
struct NativeGLContext;
using GLContextHandle = NativeGLContext*;

// Message numbers, as Win32 numbers them.
namespace msg {
constexpr uint32_t Create = 0x0001;
constexpr uint32_t Destroy = 0x0002;
constexpr uint32_t Size = 0x0005;
constexpr uint32_t Activate = 0x0006;
constexpr uint32_t Paint = 0x000F;
constexpr uint32_t Close = 0x0010;
constexpr uint32_t KeyDown = 0x0100;
constexpr uint32_t KeyUp = 0x0101;
constexpr uint32_t SysCommand = 0x0112;
}  // namespace msg

// WM_SYSCOMMAND commands the window procedure refuses.
constexpr uintptr_t kScScreenSave = 0xF140;
constexpr uintptr_t kScMonitorPower = 0xF170;

// Virtual-key codes. Letters and digits are their upper-case ASCII codes.
constexpr int kVkSpace = 0x20;
constexpr int kVkEscape = 0x1B;
constexpr int kVkF11 = 0x7A;

// Win32 packing of a size message: lParam = width | height << 16.
inline intptr_t makeSizeParam(int width, int height) {
  return intptr_t((uint32_t(width) & 0xFFFF) | ((uint32_t(height) & 0xFFFF) << 16));
}
// Win32 packing of an activate message: the high word of wParam is non-zero
// while the window is minimised.
inline uintptr_t makeActivateParam(bool active, bool minimised) {
  return uintptr_t((active ? 1u : 0u) | (minimised ? 0x10000u : 0u));
}

// A window procedure: gets the messages of one window, returns the result.
// `defaultProcedure` gives the platform's default processing.
using WindowProcedure = intptr_t (*)(void* user, WindowHandle window, uint32_t message,
                                     uintptr_t wParam, intptr_t lParam);
intptr_t defaultProcedure(WindowHandle window, uint32_t message, uintptr_t wParam,
                          intptr_t lParam);

// What a class's windows get from the system where it draws them (Win32).
enum class WindowClassLook {
  // An OpenGL window: its own device context, redrawn whole when resized
  // (class styles 0x23), the Windows logo as icon, no background brush, no
  // window data.
  OpenGL,
  // A window painted by its procedure: class style 0, no icon, the active
  // caption's colour as background, 4 bytes of window data.
  Plain
};

// Registers a window class; windows of the class send their messages to
// `procedure` once setWindowProcedure has given them a user pointer.
void registerWindowClass(const char* className, WindowProcedure procedure,
                         WindowClassLook look = WindowClassLook::OpenGL);
void unregisterWindowClass(const char* className);

// Switches the display to width x height x bits for fullscreen use. False
// when the display refuses; nothing is changed then.
bool changeDisplayMode(int width, int height, int bits);
// Puts the desktop's own mode back.
void restoreDisplayMode();
void showCursor(bool visible);

// Window styles the shell asks for.
enum class WindowStyle {
  Popup,             // fullscreen: no frame, covers the changed display mode
  OverlappedFramed,  // a normal framed window with a caption
  // A small fixed window (WS_VISIBLE alone: caption and border, no sizing
  // frame) whose given size is its outer size, frame included, where the
  // system draws the frame (Win32); SDL has no say over the frame and makes
  // that the client size.
  OverlappedPlain
};

// Creates a hidden window whose client area is exactly clientWidth x
// clientHeight (OverlappedPlain: see above) at (x, y) of the desktop. Throws
// PlatformError.
WindowHandle createWindow(const char* className, const char* title, WindowStyle style, int x,
                          int y, int clientWidth, int clientHeight);
void destroyWindow(WindowHandle window);
// Shows the window, brings it to the foreground and gives it the focus.
void showWindow(WindowHandle window);
// From now on the window's messages go to its class procedure with `user`;
// before this they get default processing.
void setWindowProcedure(WindowHandle window, void* user);
void setWindowTitle(WindowHandle window, const char* title);
// The current title (for tests and the benchmark's readout).
std::string windowTitle(WindowHandle window);
// The client area's size, as the window was made (SDL: points).
void clientSize(WindowHandle window, int* width, int* height);
// The size in pixels of what OpenGL draws into: the client area at the
// display's density.
void drawableSize(WindowHandle window, int* width, int* height);
// Shows the window over its whole monitor at the desktop's own resolution,
// with no display-mode change; false puts it back as a framed, sizeable
// window with the place and size it had before (a window that was made
// without a frame keeps its size). False when the system refuses; the window
// stays as it was then. The window gets size messages for its new size.
bool setDesktopFullscreen(WindowHandle window, bool fullscreen);
// The desktop's work area, for centring windows.
void desktopRect(int* left, int* top, int* right, int* bottom);

// A double-buffered RGBA context with colourBits colour and depthBits depth
// bits (fewer accepted when the display offers no more: 24 or 16), made
// current on the calling thread. Throws PlatformError.
GLContextHandle createGLContext(WindowHandle window, int colourBits, int depthBits);
void deleteGLContext(WindowHandle window, GLContextHandle context);
void swapBuffers(WindowHandle window);
// Whether swapBuffers waits for the display (vertical sync). The benchmark and
// capture turn it off; it may be impossible, then false.
bool setSwapWaitsForDisplay(bool wait);

// Drains the calling thread's message queue, dispatching every message to its
// window's procedure.
void pumpMessages();

// Runs frame(user) until it returns false. In a web page, whose loop must not
// block, it returns at once and the browser calls frame once per display
// refresh from then on.
#ifdef __EMSCRIPTEN__
void runFrameLoop(bool (*frame)(void* user), void* user);
#else
inline void runFrameLoop(bool (*frame)(void* user), void* user) {
  while (frame(user)) {
  }
}
#endif

// True while the key with this virtual-key code is down (GetAsyncKeyState's
// high bit).
bool asyncKeyDown(int virtualKey);

// Keeps the screen saver and display power-down off while the show runs.
void inhibitScreenSaver(bool inhibit);

// The name of the video driver in use ("x11", "offscreen", "windows", ...).
std::string videoDriverName();

// For the modes that only draw into memory (texture export, capture,
// screenshots): where there is no display at all, draw without one instead
// of refusing to start. Call before the first window.
void allowVideoWithoutDisplay();

}  // namespace platform
