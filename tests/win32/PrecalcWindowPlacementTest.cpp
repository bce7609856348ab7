// The "PRGESS" progress window as Windows places it, run under Wine: the
// whole window (frame and caption included) is 300 by 50, of style
// WS_VISIBLE alone, centred on the desktop's client area with truncating
// division. A plain program: GoogleTest is not built for mingw.
#include <cstdio>

#include "music/PrecalcWindow.h"
#include "platform/win32/Win32Handles.h"

namespace {

int failed = 0;

void check(bool ok, const char* what, long got, long want) {
  if (ok) return;
  ++failed;
  std::printf("FAILED: %s: %ld, expected %ld\n", what, got, want);
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
  return failed == 0 ? 0 : 1;
}
