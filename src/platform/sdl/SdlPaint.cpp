// Painting plain windows on SDL2: the window's own surface stands in for a
// GDI device context, and a paint is shown when it ends.
#include <SDL.h>

#include <algorithm>
#include <cstring>

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

namespace {

// The GL context current on the painting thread, put back after a paint.
struct CurrentGL {
  SDL_Window* window;
  SDL_GLContext context;
};
static_assert(sizeof(CurrentGL) <= sizeof(PaintContext::native), "paint state fits");

}  // namespace

bool beginPaint(WindowHandle window, PaintContext* paint) {
  *paint = PaintContext{};
  if (!window) return false;
  // SDL would otherwise draw window surfaces through a renderer of its own,
  // with a GL context that displaces the show's current one.
  SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_OVERRIDE);
  CurrentGL current{SDL_GL_GetCurrentWindow(), SDL_GL_GetCurrentContext()};
  SDL_Surface* surface = SDL_GetWindowSurface(window->sdl);
  if (!surface) return false;
  paint->window = window;
  paint->device = surface;
  std::memcpy(paint->native, &current, sizeof current);
  return true;
}

void endPaint(PaintContext* paint) {
  if (paint->window && paint->device) {
    SDL_UpdateWindowSurface(paint->window->sdl);
    CurrentGL current;
    std::memcpy(&current, paint->native, sizeof current);
    if (current.context && SDL_GL_GetCurrentContext() != current.context)
      SDL_GL_MakeCurrent(current.window, current.context);
  }
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
