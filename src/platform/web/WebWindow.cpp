// The page's canvas as the show's window: Win32's window calls over the DOM,
// DOM key events turned into the messages the window procedures were written
// for, a WebGL context made through emscripten, and the frame loop driven by
// the browser's animation frames.
//
// The page lays the canvas out (page.js: a 4/3 box, its drawing buffer the
// displayed size in device pixels) and says the size it wants through
// Module.kylCanvasSize(); the window takes that size, whatever the show
// asked for, and tells its procedure (WM_SIZE) when it changes, before the
// frame that draws at the new size.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

#include "platform/Clock.h"
#include "platform/Gl.h"
#include "platform/Window.h"
#include "platform/web/WebPage.h"
#include "platform/common/WindowClassTable.h"

namespace platform {
namespace web {
namespace {

const char* const kCanvas = "#canvas";

// The classes registered; the page has room for few.
WindowClassTable<4> gClasses;
NativeWindow* gKeyWindow = nullptr;
bool gKeyDown[256] = {};

// Key events wait here, as in a thread's message queue, until pumpMessages.
struct KeyEvent {
  bool down;
  int virtualKey;
  bool repeat;
};
KeyEvent gQueue[64];
int gQueued = 0;

int64_t gFrameDelay = 0;
// The canvas's drawing buffer as the window has it.
int gCanvasWidth = 0;
int gCanvasHeight = 0;
bool (*gFrame)(void*) = nullptr;
void* gFrameUser = nullptr;

EM_BOOL keyCallback(int type, const EmscriptenKeyboardEvent* event, void*) {
  const int virtualKey = int(event->keyCode);
  if (virtualKey <= 0 || virtualKey > 255) return EM_FALSE;
  if (gQueued < int(sizeof gQueue / sizeof gQueue[0]))
    gQueue[gQueued++] = {type == EMSCRIPTEN_EVENT_KEYDOWN, virtualKey, event->repeat != 0};
  // The show's own keys do not scroll the page.
  return virtualKey == kVkSpace || virtualKey == kVkEscape;
}

EM_BOOL blurCallback(int, const EmscriptenFocusEvent*, void*) {
  // Key-up events of keys still held go elsewhere now.
  std::memset(gKeyDown, 0, sizeof gKeyDown);
  return EM_FALSE;
}

void listenToKeys() {
  static bool listening = false;
  if (listening) return;
  listening = true;
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, keyCallback);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, keyCallback);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, blurCallback);
}

EM_JS(void, kylPageEvent, (const char* name, const char* text), {
  var handler = Module["kylEvent"];
  if (handler) handler(UTF8ToString(name), UTF8ToString(text));
});

// The drawing-buffer size the page wants for the canvas; false when the
// page does not say.
EM_JS(int, pageCanvasSize, (int* width, int* height), {
  var size = Module["kylCanvasSize"] ? Module["kylCanvasSize"]() : null;
  if (!size) return 0;
  HEAP32[width >> 2] = size[0];
  HEAP32[height >> 2] = size[1];
  return 1;
});

void setCanvasSize(NativeWindow* window, int width, int height) {
  gCanvasWidth = width;
  gCanvasHeight = height;
  emscripten_set_canvas_element_size(kCanvas, width, height);
  if (window) {
    window->width = width;
    window->height = height;
  }
}

// Takes the size the page wants now; the window's procedure hears it.
void followPageSize() {
  int width = 0;
  int height = 0;
  if (!pageCanvasSize(&width, &height) || width < 1 || height < 1) return;
  if (width == gCanvasWidth && height == gCanvasHeight) return;
  setCanvasSize(gKeyWindow, width, height);
  if (gKeyWindow)
    sendMessage(gKeyWindow, msg::Size, 0, intptr_t(uint32_t(width) | uint32_t(height) << 16));
}

void frameCallback(void*) {
  followPageSize();
  if (performanceCounter() < gFrameDelay) return;
  if (gFrame && !gFrame(gFrameUser)) {
    gFrame = nullptr;
    emscripten_cancel_main_loop();
    pageEvent("ended", "");
  }
}

}  // namespace

intptr_t sendMessage(NativeWindow* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (!window) return 0;
  if (!window->hasUser || !window->procedure)
    return defaultProcedure(window, message, wParam, lParam);
  return window->procedure(window->user, window, message, wParam, lParam);
}

NativeWindow* keyWindow() { return gKeyWindow; }

void pageEvent(const char* name, const char* text) { kylPageEvent(name, text); }

void delayFramesUntil(int64_t counter) { gFrameDelay = counter; }

}  // namespace web

intptr_t defaultProcedure(WindowHandle, uint32_t, uintptr_t, intptr_t) { return 0; }

void registerWindowClass(const char* className, WindowProcedure procedure, WindowClassLook) {
  web::gClasses.add(className, procedure);
}

void unregisterWindowClass(const char* className) { web::gClasses.remove(className); }

// The page has no display modes: its fullscreen (the F key, a button) shows
// the canvas at the screen's pixels, whatever the show asked for.
bool changeDisplayMode(int, int, int) { return false; }
void restoreDisplayMode() {}
void showCursor(bool) {}

WindowHandle createWindow(const char* className, const char* title, WindowStyle, int, int,
                          int clientWidth, int clientHeight) {
  const WindowProcedure procedure = web::gClasses.find(className);
  if (!procedure) throw PlatformError(std::string("no window class ") + className);
  auto* window = new NativeWindow;
  window->procedure = procedure;
  window->width = clientWidth;
  window->height = clientHeight;
  window->title = title ? title : "";
  // The page's size if it says one, else the asked size.
  int width = clientWidth;
  int height = clientHeight;
  if (!web::pageCanvasSize(&width, &height) || width < 1 || height < 1) {
    width = clientWidth;
    height = clientHeight;
  }
  web::setCanvasSize(window, width, height);
  web::gKeyWindow = window;
  // Keys pressed before this window (on the page's start or end screen) are
  // not this window's.
  web::gQueued = 0;
  std::memset(web::gKeyDown, 0, sizeof web::gKeyDown);
  web::listenToKeys();
  return window;
}

void destroyWindow(WindowHandle window) {
  if (!window) return;
  if (web::gKeyWindow == window) web::gKeyWindow = nullptr;
  delete window;
  web::pageEvent("window-closed", "");
}

void showWindow(WindowHandle) { web::pageEvent("window-shown", ""); }

// The procedure hears the client size as soon as it is the window's: the
// page may have chosen another than the one asked for.
void setWindowProcedure(WindowHandle window, void* user) {
  window->user = user;
  window->hasUser = true;
  web::sendMessage(window, msg::Size, 0,
                   intptr_t(uint32_t(window->width) | uint32_t(window->height) << 16));
}

void setWindowTitle(WindowHandle window, const char* title) {
  window->title = title;
  web::pageEvent("title", title);
}

std::string windowTitle(WindowHandle window) { return window->title; }

void clientSize(WindowHandle window, int* width, int* height) {
  *width = window->width;
  *height = window->height;
}

void desktopRect(int* left, int* top, int* right, int* bottom) {
  *left = 0;
  *top = 0;
  *right = 640;
  *bottom = 480;
}

GLContextHandle createGLContext(WindowHandle, int, int depthBits) {
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  // No alpha: the canvas must not show the page through where scenes clear
  // to alpha 0. No antialiasing: edges as the desktop draws them.
  attributes.alpha = EM_FALSE;
  attributes.depth = depthBits > 0;
  attributes.stencil = EM_FALSE;
  attributes.antialias = EM_FALSE;
  attributes.preserveDrawingBuffer = EM_FALSE;
  attributes.enableExtensionsByDefault = EM_TRUE;
  attributes.majorVersion = 2;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context(web::kCanvas, &attributes);
  if (context <= 0) {
    attributes.majorVersion = 1;
    context = emscripten_webgl_create_context(web::kCanvas, &attributes);
  }
  if (context <= 0) throw PlatformError("the browser gives no WebGL context");
  emscripten_webgl_make_context_current(context);
  return reinterpret_cast<GLContextHandle>(context);
}

void deleteGLContext(WindowHandle, GLContextHandle context) {
  if (!context) return;
  fglReset();
  emscripten_webgl_destroy_context(EMSCRIPTEN_WEBGL_CONTEXT_HANDLE(reinterpret_cast<intptr_t>(context)));
}

// The browser shows the frame when the animation-frame callback returns.
void swapBuffers(WindowHandle) {}

bool setSwapWaitsForDisplay(bool wait) { return wait; }

void* glProcAddress(const char* name) {
  if (void* layer = fglProcAddress(name)) return layer;
  return emscripten_webgl_get_proc_address(name);
}

void pumpMessages() {
  NativeWindow* window = web::gKeyWindow;
  for (int i = 0; i < web::gQueued; ++i) {
    const web::KeyEvent& e = web::gQueue[i];
    const bool wasDown = web::gKeyDown[e.virtualKey];
    web::gKeyDown[e.virtualKey] = e.down;
    if (!window) continue;
    // lParam as Windows packs it: repeat count 1, previous state, transition.
    uint32_t lParam = 1u;
    if (wasDown || e.repeat) lParam |= 1u << 30;
    if (!e.down) lParam |= 1u << 31;
    web::sendMessage(window, e.down ? msg::KeyDown : msg::KeyUp, uintptr_t(e.virtualKey),
                     intptr_t(lParam));
  }
  web::gQueued = 0;
}

bool asyncKeyDown(int virtualKey) {
  return virtualKey >= 0 && virtualKey < 256 && web::gKeyDown[virtualKey];
}

void inhibitScreenSaver(bool) {}

std::string videoDriverName() { return "webgl"; }

void allowVideoWithoutDisplay() {}

void runFrameLoop(bool (*frame)(void* user), void* user) {
  web::gFrame = frame;
  web::gFrameUser = user;
  web::gFrameDelay = 0;
  emscripten_set_main_loop_arg(web::frameCallback, nullptr, 0, EM_FALSE);
}

}  // namespace platform
