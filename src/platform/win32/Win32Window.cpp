// Windows and the OpenGL context on Win32 and WGL.
//
// A WindowHandle is the HWND itself, so a handle outlives its window exactly
// as an HWND does: calls on a destroyed window fail quietly instead of
// touching freed memory. Each registered class gets a Win32 procedure of its
// own that forwards to the class's WindowProcedure; the window's user pointer
// lives in GWLP_USERDATA, and until it is set the window gets default
// processing.
#include "platform/win32/LeanWindows.h"

#include <cstring>

#include "platform/Gl.h"
#include "platform/Window.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Handles.h"

namespace platform {
namespace {

// Class styles of an OpenGL window's class: CS_HREDRAW | CS_VREDRAW |
// CS_OWNDC. The own device context keeps the GL window's pixel format valid
// for its lifetime.
constexpr UINT kOpenGLClassStyle = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
// A plain window's 4 bytes of window data (the progress window's
// percentage); an OpenGL window has none.
constexpr int kPlainWindowBytes = 4;

// A registered class and the procedure its windows dispatch to. Each slot
// has its own Win32 window procedure (below), so dispatch needs no lookup.
struct RegisteredClass {
  char name[64] = {};
  WindowProcedure procedure = nullptr;
};
// The show registers two classes at most; a few spare slots cost nothing.
constexpr int kClassSlots = 8;
RegisteredClass registeredClasses[kClassSlots];

template <int Slot>
LRESULT CALLBACK classProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  void* user = reinterpret_cast<void*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  WindowProcedure procedure = registeredClasses[Slot].procedure;
  if (!user || !procedure) return DefWindowProcA(hwnd, message, wParam, lParam);
  return procedure(user, toHandle(hwnd), message, wParam, lParam);
}

constexpr WNDPROC kSlotProcedures[kClassSlots] = {
    classProcedure<0>, classProcedure<1>, classProcedure<2>, classProcedure<3>,
    classProcedure<4>, classProcedure<5>, classProcedure<6>, classProcedure<7>};

RegisteredClass* slotNamed(const char* className) {
  for (RegisteredClass& c : registeredClasses) {
    if (c.procedure && std::strcmp(c.name, className) == 0) return &c;
  }
  return nullptr;
}

HINSTANCE instance() { return GetModuleHandleA(nullptr); }

std::string lastErrorText(const char* what) {
  DWORD code = GetLastError();
  char text[512] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, text, sizeof text, nullptr);
  while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' ')) text[--n] = 0;
  std::string result = what;
  result += " failed (error " + std::to_string(code) + (n ? ": " + std::string(text) : "") + ")";
  return result;
}

// The one GL window's device context, kept from context creation to deletion
// so that a frame's swap does not look it up.
HWND glWindow = nullptr;
HDC glDeviceContext = nullptr;

HDC deviceContextOf(HWND hwnd) {
  if (hwnd == glWindow && glDeviceContext) return glDeviceContext;
  return nullptr;
}

// The frame and place of the window that went desktop fullscreen, to put
// back when it leaves.
struct FramedPlace {
  HWND hwnd = nullptr;
  LONG_PTR style = 0;
  LONG_PTR exStyle = 0;
  RECT rect = {};
};
FramedPlace framedPlace;

constexpr LONG_PTR kFramedStyle = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr LONG_PTR kFramedExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;

}  // namespace

intptr_t defaultProcedure(WindowHandle window, uint32_t message, uintptr_t wParam,
                          intptr_t lParam) {
  return DefWindowProcA(toHwnd(window), message, wParam, lParam);
}

void registerWindowClass(const char* className, WindowProcedure procedure,
                         WindowClassLook look) {
  win32::useDevicePixels();
  // Registered before (a second precalculation): the class stays, its
  // windows dispatch to the new procedure.
  if (RegisteredClass* slot = slotNamed(className)) {
    slot->procedure = procedure;
    return;
  }
  int slot = 0;
  while (slot < kClassSlots && registeredClasses[slot].procedure) ++slot;
  if (slot == kClassSlots || std::strlen(className) >= sizeof registeredClasses[0].name) {
    throw PlatformError(std::string("cannot register the window class ") + className);
  }
  const bool plain = look == WindowClassLook::Plain;
  WNDCLASSA wc = {};
  wc.style = plain ? 0 : kOpenGLClassStyle;
  wc.lpfnWndProc = kSlotProcedures[slot];
  wc.cbClsExtra = 0;
  wc.cbWndExtra = plain ? kPlainWindowBytes : 0;
  wc.hInstance = instance();
  wc.hIcon = plain ? nullptr : LoadIconA(nullptr, MAKEINTRESOURCEA(32517));  // IDI_WINLOGO
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));                // IDC_ARROW
  // A system colour index + 1 stands for that colour's brush.
  wc.hbrBackground = plain ? reinterpret_cast<HBRUSH>(INT_PTR(COLOR_ACTIVECAPTION + 1)) : nullptr;
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = className;
  // A failure shows when the window is created (CreateWindowExA names it).
  if (RegisterClassA(&wc) == 0) return;
  std::strcpy(registeredClasses[slot].name, className);
  registeredClasses[slot].procedure = procedure;
}

void unregisterWindowClass(const char* className) {
  if (UnregisterClassA(className, instance())) {
    if (RegisteredClass* slot = slotNamed(className)) *slot = RegisteredClass{};
  }
}

bool changeDisplayMode(int width, int height, int bits) {
  DEVMODEA mode;
  std::memset(&mode, 0, sizeof mode);
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = DWORD(width);
  mode.dmPelsHeight = DWORD(height);
  mode.dmBitsPerPel = DWORD(bits);
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

void restoreDisplayMode() { ChangeDisplaySettingsA(nullptr, 0); }

void showCursor(bool visible) { ShowCursor(visible ? TRUE : FALSE); }

WindowHandle createWindow(const char* className, const char* title, WindowStyle style, int x,
                          int y, int clientWidth, int clientHeight) {
  win32::useDevicePixels();
  DWORD exStyle;
  DWORD windowStyle;
  if (style == WindowStyle::OverlappedPlain) {
    // Visible at once, the size taken as it stands: no client-size adjustment.
    HWND hwnd = CreateWindowExA(0, className, title ? title : "", WS_VISIBLE, x, y, clientWidth,
                                clientHeight, nullptr, nullptr, instance(), nullptr);
    if (!hwnd) throw PlatformError(lastErrorText("CreateWindowExA"));
    return toHandle(hwnd);
  }
  if (style == WindowStyle::Popup) {
    exStyle = WS_EX_APPWINDOW;
    windowStyle = WS_POPUP;
  } else {
    exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    windowStyle = WS_OVERLAPPEDWINDOW;
  }
  RECT rect = {0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&rect, windowStyle, FALSE, exStyle);
  HWND hwnd = CreateWindowExA(exStyle, className, title ? title : "",
                              windowStyle | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, x, y,
                              rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                              instance(), nullptr);
  if (!hwnd) throw PlatformError(lastErrorText("CreateWindowExA"));
  return toHandle(hwnd);
}

void destroyWindow(WindowHandle window) {
  HWND hwnd = toHwnd(window);
  if (hwnd == framedPlace.hwnd) framedPlace = FramedPlace();
  if (hwnd == glWindow) {
    glWindow = nullptr;
    glDeviceContext = nullptr;
  }
  DestroyWindow(hwnd);
}

void showWindow(WindowHandle window) {
  HWND hwnd = toHwnd(window);
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
}

void setWindowProcedure(WindowHandle window, void* user) {
  SetWindowLongPtrA(toHwnd(window), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(user));
}

void setWindowTitle(WindowHandle window, const char* title) {
  SetWindowTextA(toHwnd(window), title);
}

std::string windowTitle(WindowHandle window) {
  char text[256] = {};
  int n = GetWindowTextA(toHwnd(window), text, sizeof text);
  return std::string(text, n > 0 ? size_t(n) : 0);
}

void clientSize(WindowHandle window, int* width, int* height) {
  RECT rect = {};
  GetClientRect(toHwnd(window), &rect);
  if (width) *width = rect.right - rect.left;
  if (height) *height = rect.bottom - rect.top;
}

// The process is DPI aware (useDevicePixels): the client area is in pixels.
void drawableSize(WindowHandle window, int* width, int* height) {
  clientSize(window, width, height);
}

bool setDesktopFullscreen(WindowHandle window, bool fullscreen) {
  HWND hwnd = toHwnd(window);
  if (!IsWindow(hwnd)) return false;
  const UINT flags = SWP_FRAMECHANGED | SWP_SHOWWINDOW;
  if (fullscreen) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor))
      return false;
    if (framedPlace.hwnd != hwnd) {
      framedPlace.hwnd = hwnd;
      framedPlace.style = GetWindowLongPtrA(hwnd, GWL_STYLE);
      framedPlace.exStyle = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
      GetWindowRect(hwnd, &framedPlace.rect);
    }
    const RECT& r = monitor.rcMonitor;
    SetWindowLongPtrA(hwnd, GWL_STYLE, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, WS_EX_APPWINDOW);
    return SetWindowPos(hwnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        flags) != 0;
  }
  if (framedPlace.hwnd == hwnd) {
    const FramedPlace place = framedPlace;
    framedPlace = FramedPlace();
    SetWindowLongPtrA(hwnd, GWL_STYLE, place.style | WS_VISIBLE);
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE, place.exStyle);
    const RECT& r = place.rect;
    return SetWindowPos(hwnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        flags) != 0;
  }
  // A window made without a frame (for a display-mode change) gets one
  // around its client area.
  if ((GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_POPUP) == 0) return true;
  RECT client = {};
  GetClientRect(hwnd, &client);
  AdjustWindowRectEx(&client, DWORD(kFramedStyle), FALSE, DWORD(kFramedExStyle));
  SetWindowLongPtrA(hwnd, GWL_STYLE, kFramedStyle | WS_VISIBLE);
  SetWindowLongPtrA(hwnd, GWL_EXSTYLE, kFramedExStyle);
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, client.right - client.left,
                      client.bottom - client.top, flags) != 0;
}

void desktopRect(int* left, int* top, int* right, int* bottom) {
  RECT rect = {};
  GetClientRect(GetDesktopWindow(), &rect);
  if (left) *left = rect.left;
  if (top) *top = rect.top;
  if (right) *right = rect.right;
  if (bottom) *bottom = rect.bottom;
}

GLContextHandle createGLContext(WindowHandle window, int colourBits, int depthBits) {
  HWND hwnd = toHwnd(window);
  PIXELFORMATDESCRIPTOR pfd;
  std::memset(&pfd, 0, sizeof pfd);
  pfd.nSize = sizeof pfd;  // 40
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = BYTE(colourBits);
  pfd.cDepthBits = BYTE(depthBits);
  pfd.cStencilBits = 0;
  pfd.cAuxBuffers = 0;
  pfd.iLayerType = PFD_MAIN_PLANE;

  HDC dc = GetDC(hwnd);
  if (!dc) throw PlatformError(lastErrorText("GetDC"));
  // ChoosePixelFormat takes the closest the driver offers (24 colour or
  // depth bits when 32 are not there).
  int format = ChoosePixelFormat(dc, &pfd);
  if (format == 0) {
    std::string error = lastErrorText("ChoosePixelFormat");
    ReleaseDC(hwnd, dc);
    throw PlatformError(error);
  }
  if (!SetPixelFormat(dc, format, &pfd)) {
    std::string error = lastErrorText("SetPixelFormat");
    ReleaseDC(hwnd, dc);
    throw PlatformError(error);
  }
  HGLRC context = wglCreateContext(dc);
  if (!context) {
    std::string error = lastErrorText("wglCreateContext");
    ReleaseDC(hwnd, dc);
    throw PlatformError(error);
  }
  if (!wglMakeCurrent(dc, context)) {
    std::string error = lastErrorText("wglMakeCurrent");
    wglDeleteContext(context);
    ReleaseDC(hwnd, dc);
    throw PlatformError(error);
  }
  glWindow = hwnd;
  glDeviceContext = dc;
  return reinterpret_cast<GLContextHandle>(context);
}

void deleteGLContext(WindowHandle window, GLContextHandle context) {
  HWND hwnd = toHwnd(window);
  if (context) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(reinterpret_cast<HGLRC>(context));
  }
  if (hwnd == glWindow) {
    if (glDeviceContext) ReleaseDC(hwnd, glDeviceContext);
    glWindow = nullptr;
    glDeviceContext = nullptr;
  }
}

void swapBuffers(WindowHandle window) {
  HWND hwnd = toHwnd(window);
  HDC dc = deviceContextOf(hwnd);
  if (dc) {
    SwapBuffers(dc);
    return;
  }
  dc = GetDC(hwnd);
  if (!dc) return;
  SwapBuffers(dc);
  ReleaseDC(hwnd, dc);
}

bool setSwapWaitsForDisplay(bool wait) {
  using SwapIntervalProc = BOOL(WINAPI*)(int);
  auto swapInterval = reinterpret_cast<SwapIntervalProc>(glProcAddress("wglSwapIntervalEXT"));
  return swapInterval && swapInterval(wait ? 1 : 0);
}

void pumpMessages() {
  MSG message;
  // A quit message is dispatched like any other: the window's quit flag, not
  // WM_QUIT, ends the show.
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool asyncKeyDown(int virtualKey) {
  return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

void inhibitScreenSaver(bool inhibit) {
  // The window procedure already refuses the screen saver while it has the
  // messages; this also holds the display on when it has not.
  SetThreadExecutionState(inhibit ? (ES_CONTINUOUS | ES_DISPLAY_REQUIRED) : ES_CONTINUOUS);
}

std::string videoDriverName() { return "windows"; }

// Windows always has a desktop to make windows on.
void allowVideoWithoutDisplay() {}

}  // namespace platform
