// Painting plain windows on SDL2: the window's own surface stands in for a
// GDI device context, and a paint is shown when it ends.
#include <SDL.h>

#include <algorithm>

#include "platform/Paint.h"
#include "platform/sdl/SdlWindow.h"

namespace platform {

void setWindowData(WindowHandle window, int32_t value) {
  if (window) window->data = value;
}

int32_t windowData(WindowHandle window) { return window ? window->data : 0; }

void invalidateAndUpdate(WindowHandle window) {
  if (window) sdl::sendMessage(window, msg::Paint, 0, 0);
}

bool beginPaint(WindowHandle window, PaintContext* paint) {
  *paint = PaintContext{};
  if (!window) return false;
  SDL_Surface* surface = SDL_GetWindowSurface(window->sdl);
  if (!surface) return false;
  paint->window = window;
  paint->device = surface;
  return true;
}

void endPaint(PaintContext* paint) {
  if (paint->window && paint->device) SDL_UpdateWindowSurface(paint->window->sdl);
  *paint = PaintContext{};
}

void fillRect(PaintContext* paint, const PaintRect& rect, Rgb colour) {
  auto* surface = static_cast<SDL_Surface*>(paint->device);
  if (!surface) return;
  int left = std::max(rect.left, 0);
  int top = std::max(rect.top, 0);
  int right = std::min(rect.right, surface->w);
  int bottom = std::min(rect.bottom, surface->h);
  if (right <= left || bottom <= top) return;
  SDL_Rect r{left, top, right - left, bottom - top};
  SDL_FillRect(surface, &r, SDL_MapRGB(surface->format, colour.red, colour.green, colour.blue));
}

PaintRect clientRect(WindowHandle window) {
  PaintRect rect;
  if (window) SDL_GetWindowSize(window->sdl, &rect.right, &rect.bottom);
  return rect;
}

// SDL repaints only when asked: nothing stays invalid to validate.
void validateRect(WindowHandle, const PaintRect&) {}

}  // namespace platform
