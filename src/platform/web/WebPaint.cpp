// Plain-window painting has nothing to paint on in a page (the progress
// window of the precalculation is the only user, and the page does not
// precalculate): paints are refused, the window data is kept.
#include "platform/Paint.h"
#include "platform/web/WebPage.h"

namespace platform {

void setWindowData(WindowHandle window, int32_t value) {
  if (window) window->data = value;
}

int32_t windowData(WindowHandle window) { return window ? window->data : 0; }

void invalidateAndUpdate(WindowHandle window) {
  if (window) web::sendMessage(window, msg::Paint, 0, 0);
}

bool beginPaint(WindowHandle, PaintContext* paint) {
  *paint = PaintContext{};
  return false;
}

void endPaint(PaintContext* paint) { *paint = PaintContext{}; }

void fillRect(PaintContext*, const PaintRect&, Rgb) {}

PaintRect clientRect(WindowHandle window) {
  PaintRect rect;
  if (window) {
    rect.right = window->width;
    rect.bottom = window->height;
  }
  return rect;
}

void validateRect(WindowHandle, const PaintRect&) {}

}  // namespace platform
