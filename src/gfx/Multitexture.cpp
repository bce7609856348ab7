#include "gfx/Multitexture.h"

namespace multitexture {

platform::ActiveTextureProc glActiveTextureARB = nullptr;
platform::ActiveTextureProc glClientActiveTextureARB = nullptr;

void fetchEntryPoints() {
  glActiveTextureARB =
      reinterpret_cast<platform::ActiveTextureProc>(platform::glProcAddress("glActiveTextureARB"));
  glClientActiveTextureARB = reinterpret_cast<platform::ActiveTextureProc>(
      platform::glProcAddress("glClientActiveTextureARB"));
}

bool available() { return glActiveTextureARB && glClientActiveTextureARB; }

}  // namespace multitexture
