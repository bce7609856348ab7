#include <string>

#include "platform/Gl.h"
#include "platform/Window.h"
#include "platform/sdl/SdlWindow.h"

namespace platform {

GLContextHandle createGLContext(WindowHandle window, int /*colourBits*/, int depthBits) {
  // The visual, and with it colour and depth, was fixed when the window was
  // made (see createWindow); here the context is made on it.
  SDL_GLContext context = SDL_GL_CreateContext(window->sdl);
  if (!context) throw PlatformError(std::string("cannot create the OpenGL context: ") + SDL_GetError());
  if (SDL_GL_MakeCurrent(window->sdl, context) != 0) {
    std::string error = SDL_GetError();
    SDL_GL_DeleteContext(context);
    throw PlatformError("cannot make the OpenGL context current: " + error);
  }
  GLint depth = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depth);
  if (depth < (depthBits < 16 ? depthBits : 16)) {
    SDL_GL_MakeCurrent(window->sdl, nullptr);
    SDL_GL_DeleteContext(context);
    throw PlatformError("the display offers no pixel format with " + std::to_string(depthBits) +
                        " or at least 16 depth bits");
  }
  return reinterpret_cast<GLContextHandle>(context);
}

void deleteGLContext(WindowHandle window, GLContextHandle context) {
  if (!context) return;
  // Nothing of the context's may still be queued when it goes (llvmpipe's
  // teardown was seen to hang on unfinished work).
  if (SDL_GL_GetCurrentContext() == reinterpret_cast<SDL_GLContext>(context)) glFinish();
#ifdef KYL_GL_FIXED
  fglReset();  // the layer's objects go with the context
#endif
  SDL_GL_MakeCurrent(window ? window->sdl : nullptr, nullptr);
  SDL_GL_DeleteContext(reinterpret_cast<SDL_GLContext>(context));
}

void swapBuffers(WindowHandle window) {
  SDL_GL_SwapWindow(window->sdl);
  // Offscreen, the swap neither flushes nor waits for anything: llvmpipe then
  // queues frame after frame, and its final flush was seen to hang. Finishing
  // each frame paces it as a display would.
  if (sdl::drawsOffscreen()) glFinish();
}

bool setSwapWaitsForDisplay(bool wait) { return SDL_GL_SetSwapInterval(wait ? 1 : 0) == 0; }

void* glProcAddress(const char* name) {
#ifdef KYL_GL_FIXED
  if (void* layer = fglProcAddress(name)) return layer;
#endif
  return SDL_GL_GetProcAddress(name);
}

}  // namespace platform
