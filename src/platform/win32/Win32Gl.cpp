// GL entry points through wglGetProcAddress.
#include "platform/Gl.h"

namespace platform {

void* glProcAddress(const char* name) {
  PROC proc = wglGetProcAddress(name);
  // Some drivers answer a missing entry point with a small integer instead
  // of null.
  intptr_t value = reinterpret_cast<intptr_t>(proc);
  if (value == 0 || value == 1 || value == 2 || value == 3 || value == -1) return nullptr;
  return reinterpret_cast<void*>(proc);
}

}  // namespace platform
