// The "PRGESS" progress window as Windows places it, run under Wine: the
// whole window (frame and caption included) is 300 by 50, of style
// WS_VISIBLE alone, centred on the desktop's client area with truncating
// division; and its class as Windows holds it beside the show's "OpenGL"
// class (class styles, icon, cursor, background brush, window bytes). A
// plain program: GoogleTest is not built for mingw.
#include <cstdio>

#include "music/PrecalcWindow.h"
#include "platform/Window.h"
#include "platform/win32/Win32Handles.h"

namespace {

int failed = 0;

void check(bool ok, const char* what, long got, long want) {
  if (ok) return;
  ++failed;
  std::printf("FAILED: %s: %ld, expected %ld\n", what, got, want);
}

intptr_t plainProcedure(void*, platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                        intptr_t lParam) {
  return platform::defaultProcedure(window, message, wParam, lParam);
}

// The class attributes of each window's class, as GetClassLongPtr reads them.
struct ClassCase {
  const char* name;
  HWND window;
  LONG_PTR style;
  LONG_PTR icon;
  LONG_PTR background;
  LONG_PTR windowBytes;
};

void checkClasses(const ClassCase* cases, int count) {
  const LONG_PTR arrow = reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
  for (int i = 0; i < count; ++i) {
    const ClassCase& c = cases[i];
    char what[96];
    const auto read = [&](int index, const char* field) {
      std::snprintf(what, sizeof what, "class %s: %s", c.name, field);
      return LONG_PTR(GetClassLongPtrA(c.window, index));
    };
    LONG_PTR got = read(GCL_STYLE, "class style");
    check(got == c.style, what, long(got), long(c.style));
    got = read(GCLP_HICON, "icon");
    check(got == c.icon, what, long(got), long(c.icon));
    got = read(GCLP_HBRBACKGROUND, "background brush");
    check(got == c.background, what, long(got), long(c.background));
    got = read(GCLP_HCURSOR, "cursor (IDC_ARROW)");
    check(got == arrow, what, long(got), long(arrow));
    got = read(GCL_CBWNDEXTRA, "window bytes");
    check(got == c.windowBytes, what, long(got), long(c.windowBytes));
    got = read(GCL_CBCLSEXTRA, "class bytes");
    check(got == 0, what, long(got), 0);
  }
}

}  // namespace

int main() {
  PrecalcWindow window;
  if (!window.isOpen()) {
    std::printf("FAILED: no progress window\n");
    return 1;
  }
  HWND hwnd = platform::toHwnd(window.handle());
  RECT desktop{};
  GetClientRect(GetDesktopWindow(), &desktop);
  RECT outer{};
  GetWindowRect(hwnd, &outer);
  check(outer.right - outer.left == 300, "width", outer.right - outer.left, 300);
  check(outer.bottom - outer.top == 50, "height", outer.bottom - outer.top, 50);
  check(outer.left == (desktop.right - 300) / 2, "left", outer.left, (desktop.right - 300) / 2);
  check(outer.top == (desktop.bottom - 50) / 2, "top", outer.top, (desktop.bottom - 50) / 2);
  // Windows adds a caption and a border to an overlapped window; nothing
  // else may be there (no sizing frame, no system menu, no extended style).
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  const LONG unexpected = style & ~LONG(WS_VISIBLE | WS_CAPTION | WS_CLIPSIBLINGS);
  check((style & WS_VISIBLE) != 0, "WS_VISIBLE", style, style | WS_VISIBLE);
  check(unexpected == 0, "style bits beyond WS_VISIBLE, caption and border", unexpected, 0);
  const LONG exStyle = GetWindowLongA(hwnd, GWL_EXSTYLE) & ~LONG(WS_EX_WINDOWEDGE);
  check(exStyle == 0, "extended style", exStyle, 0);
  std::printf("progress window: %ld x %ld at (%ld, %ld) on a %ld x %ld desktop, style 0x%lx\n",
              outer.right - outer.left, outer.bottom - outer.top, outer.left, outer.top,
              desktop.right, desktop.bottom, static_cast<unsigned long>(style));

  // The show's window class beside it, registered as the show does.
  platform::registerWindowClass("OpenGL", &plainProcedure);
  platform::WindowHandle show = platform::createWindow(
      "OpenGL", "", platform::WindowStyle::OverlappedFramed, 0, 0, 64, 48);
  const ClassCase classes[] = {
      // Style 0, no icon, COLOR_ACTIVECAPTION + 1 as background, the
      // percentage's 4 window bytes.
      {"PRGESS", hwnd, 0, 0, COLOR_ACTIVECAPTION + 1, 4},
      // CS_HREDRAW | CS_VREDRAW | CS_OWNDC, IDI_WINLOGO, no background.
      {"OpenGL", platform::toHwnd(show), CS_HREDRAW | CS_VREDRAW | CS_OWNDC,
       reinterpret_cast<LONG_PTR>(LoadIconA(nullptr, MAKEINTRESOURCEA(32517))), 0, 0},
  };
  checkClasses(classes, 2);
  platform::destroyWindow(show);
  platform::unregisterWindowClass("OpenGL");
  return failed == 0 ? 0 : 1;
}
