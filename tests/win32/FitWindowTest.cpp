// The show's window on the Win32 backend, run under Wine: a per-monitor
// DPI-aware process; a --fit window resized to a 1280x720 client draws the
// picture in the centred 960x720 box between black bars (read back from its
// GL back buffer); F11 and F, posted as key presses, switch to desktop
// fullscreen over the whole monitor and back to the framed window. A plain
// program: GoogleTest is not built for mingw.
#include <cstdio>
#include <vector>

#include "platform/Gl.h"
#include "platform/win32/Win32Handles.h"
#include "shell/GLWindow.h"

namespace {

int failed = 0;

void check(bool ok, const char* what, long got, long want) {
  if (ok) return;
  ++failed;
  std::printf("FAILED: %s: %ld, expected %ld\n", what, got, want);
}

void checkBox(const char* when, int x, int y, int width, int height) {
  GLint viewport[4] = {}, scissor[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetIntegerv(GL_SCISSOR_BOX, scissor);
  const int expected[4] = {x, y, width, height};
  for (int i = 0; i < 4; ++i) {
    check(viewport[i] == expected[i], when, viewport[i], expected[i]);
    check(scissor[i] == expected[i], when, scissor[i], expected[i]);
  }
  check(glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE, "scissor test on", 0, 1);
}

void clientOf(HWND hwnd, long* width, long* height) {
  RECT client{};
  GetClientRect(hwnd, &client);
  *width = client.right - client.left;
  *height = client.bottom - client.top;
}

// A key pressed and let go, through the thread's message queue as the
// keyboard delivers it, then one frame to handle it.
void press(GLWindow& window, WPARAM key) {
  HWND hwnd = platform::toHwnd(window.window());
  PostMessageA(hwnd, WM_KEYDOWN, key, 1);
  PostMessageA(hwnd, WM_KEYUP, key, LPARAM(0xC0000001u));
  window.endFrame();
  window.endFrame();
}

}  // namespace

int main() {
  using AwarenessContextProc = HANDLE(WINAPI*)();
  using AwarenessProc = int(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleA("user32.dll");
  auto threadContext = reinterpret_cast<AwarenessContextProc>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
  auto awarenessOf = reinterpret_cast<AwarenessProc>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));

  GLWindow::Screen screen;
  screen.fit = true;
  GLWindow window(640, 480, false, screen);
  HWND hwnd = platform::toHwnd(window.window());
  if (threadContext && awarenessOf) {
    const int awareness = awarenessOf(threadContext());
    check(awareness == 2, "DPI awareness (2: per monitor)", awareness, 2);
  } else {
    std::printf("no DPI awareness query on this system\n");
  }

  // The user drags the frame until the client area is 1280x720.
  RECT outer = {0, 0, 1280, 720};
  AdjustWindowRectEx(&outer, DWORD(GetWindowLongA(hwnd, GWL_STYLE)), FALSE,
                     DWORD(GetWindowLongA(hwnd, GWL_EXSTYLE)));
  SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
               SWP_NOMOVE | SWP_NOZORDER);
  window.endFrame();
  long width = 0, height = 0;
  clientOf(hwnd, &width, &height);
  check(width == 1280 && height == 720, "client width after the resize", width, 1280);
  checkBox("box in 1280x720", 160, 0, 960, 720);

  // A scene clears its frame (white here): only the box takes it.
  glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  std::vector<unsigned char> row(1280 * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 360, 1280, 1, GL_RGB, GL_UNSIGNED_BYTE, row.data());
  for (int x : {0, 159, 160, 640, 1119, 1120, 1279}) {
    const long want = (x >= 160 && x < 1120) ? 255 : 0;
    char what[64];
    std::snprintf(what, sizeof what, "red in column %d", x);
    check(row[size_t(x) * 3] == want, what, row[size_t(x) * 3], want);
  }

  // F11: over the whole monitor, no frame, the picture fitted there.
  press(window, VK_F11);
  check(window.desktopFullscreen(), "desktop fullscreen after F11", 0, 1);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
  const long monitorWidth = monitor.rcMonitor.right - monitor.rcMonitor.left;
  const long monitorHeight = monitor.rcMonitor.bottom - monitor.rcMonitor.top;
  clientOf(hwnd, &width, &height);
  check(width == monitorWidth, "fullscreen client width", width, monitorWidth);
  check(height == monitorHeight, "fullscreen client height", height, monitorHeight);
  check((GetWindowLongA(hwnd, GWL_STYLE) & WS_CAPTION) == 0, "caption in fullscreen", 1, 0);
  long boxWidth = monitorWidth, boxHeight = monitorWidth * 3 / 4;
  if (boxHeight > monitorHeight) {
    boxHeight = monitorHeight;
    boxWidth = monitorHeight * 4 / 3;
  }
  checkBox("box in fullscreen", int((monitorWidth - boxWidth) / 2),
           int((monitorHeight - boxHeight) / 2), int(boxWidth), int(boxHeight));

  // F: the framed 1280x720 window again.
  press(window, 'F');
  check(!window.desktopFullscreen(), "desktop fullscreen after F", 1, 0);
  clientOf(hwnd, &width, &height);
  check(width == 1280, "client width after leaving", width, 1280);
  check(height == 720, "client height after leaving", height, 720);
  check((GetWindowLongA(hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION, "caption after leaving", 0,
        1);
  checkBox("box after leaving", 160, 0, 960, 720);

  std::printf("fitted window: 1280x720 client, box 960x720; desktop fullscreen %ldx%ld\n",
              monitorWidth, monitorHeight);
  window.destroy();
  return failed == 0 ? 0 : 1;
}
