// Painting a plain window with GDI: window data through the window's extra
// bytes, BeginPaint/EndPaint, solid brushes.
#include <new>

#include "platform/Paint.h"
#include "platform/win32/Win32Handles.h"

namespace platform {
namespace {

static_assert(sizeof(PAINTSTRUCT) <= sizeof(PaintContext::native),
              "PaintContext must hold a PAINTSTRUCT");

PAINTSTRUCT* paintStruct(PaintContext* paint) {
  return reinterpret_cast<PAINTSTRUCT*>(paint->native);
}

RECT toRect(const PaintRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

void setWindowData(WindowHandle window, int32_t value) {
  SetWindowLongA(toHwnd(window), 0, LONG(value));
}

int32_t windowData(WindowHandle window) { return int32_t(GetWindowLongA(toHwnd(window), 0)); }

void invalidateAndUpdate(WindowHandle window) {
  HWND hwnd = toHwnd(window);
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
}

bool beginPaint(WindowHandle window, PaintContext* paint) {
  paint->window = window;
  PAINTSTRUCT* ps = new (paint->native) PAINTSTRUCT{};
  HDC dc = BeginPaint(toHwnd(window), ps);
  paint->device = dc;
  return dc != nullptr;
}

void endPaint(PaintContext* paint) {
  EndPaint(toHwnd(paint->window), paintStruct(paint));
  paint->device = nullptr;
}

void fillRect(PaintContext* paint, const PaintRect& rect, Rgb colour) {
  HDC dc = static_cast<HDC>(paint->device);
  if (!dc) return;
  HBRUSH brush = CreateSolidBrush(RGB(colour.red, colour.green, colour.blue));
  RECT r = toRect(rect);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

PaintRect clientRect(WindowHandle window) {
  RECT r = {};
  GetClientRect(toHwnd(window), &r);
  return PaintRect{r.left, r.top, r.right, r.bottom};
}

void validateRect(WindowHandle window, const PaintRect& rect) {
  RECT r = toRect(rect);
  ValidateRect(toHwnd(window), &r);
}

}  // namespace platform
