// Painting into a plain (non-OpenGL) window: what a progress window needs of
// GDI, and no more.
//
// Overview: a window of a class registered through Window.h keeps 4 bytes of
// window data (cbWndExtra = 4, read and written at offset 0). Asking it to
// repaint (invalidateAndUpdate) sends msg::Paint to its procedure before the
// call returns, as InvalidateRect + UpdateWindow do; the procedure then
// brackets its drawing with beginPaint/endPaint and fills rectangles with
// solid colours.
//
// How to use, inside the procedure's msg::Paint case:
//   platform::PaintContext paint;
//   if (platform::beginPaint(window, &paint)) {
//     platform::PaintRect r = platform::clientRect(window);
//     platform::fillRect(&paint, r, platform::Rgb{0, 128, 255});
//     platform::endPaint(&paint);
//   }
#pragma once

#include <cstdint>

#include "platform/Window.h"

namespace platform {

// A rectangle in client coordinates; right and bottom are exclusive, as in
// Win32's RECT.
struct PaintRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

// One paint between beginPaint and endPaint. The backend keeps its own state
// (PAINTSTRUCT and HDC on Win32, the window's surface on SDL) in it, so a
// paint allocates nothing.
struct PaintContext {
  WindowHandle window = nullptr;
  void* device = nullptr;
  alignas(8) unsigned char native[128] = {};
};

// The 4 bytes of window data (SetWindowLongA/GetWindowLongA at offset 0).
// A new window's data is 0.
void setWindowData(WindowHandle window, int32_t value);
int32_t windowData(WindowHandle window);

// Invalidates the whole client area without erasing it and repaints at once:
// the window's procedure gets msg::Paint before this returns.
void invalidateAndUpdate(WindowHandle window);

// Starts a paint; false when the window cannot be painted now (then no
// endPaint is needed).
bool beginPaint(WindowHandle window, PaintContext* paint);
// Shows what was painted and ends the paint.
void endPaint(PaintContext* paint);
// Fills the rectangle (clipped to the client area) with a solid colour.
void fillRect(PaintContext* paint, const PaintRect& rect, Rgb colour);

// The client area: left = top = 0, right = width, bottom = height.
PaintRect clientRect(WindowHandle window);
// Marks a part of the client area as painted (ValidateRect).
void validateRect(WindowHandle window, const PaintRect& rect);

}  // namespace platform
