// The OpenGL 1.1 and GLU headers, included the way each backend needs them,
// and the run-time entry points of the ARB multitexture pair.
//
// Code above the platform layer includes this instead of <GL/gl.h>: on
// Windows the GL headers need <windows.h> first, on Linux they do not.
#pragma once

#if defined(KYL_GL_FIXED)
// Drawn through our fixed-function layer on OpenGL ES 2 (the web page, and
// the native build that tests the layer): the same names, mapped onto it.
#include "glfixed/GlNames.h"
#else
#ifdef _WIN32
#include "platform/win32/LeanWindows.h"
#endif
#include <GL/gl.h>
#include <GL/glu.h>
#endif

#ifndef GL_TEXTURE0_ARB
#define GL_TEXTURE0_ARB 0x84C0
#define GL_TEXTURE1_ARB 0x84C1
#endif

#ifndef APIENTRY
#define APIENTRY
#endif

namespace platform {

// Signatures of glActiveTextureARB and glClientActiveTextureARB.
using ActiveTextureProc = void(APIENTRY*)(GLenum texture);

// Looks up a GL entry point of the current context (wglGetProcAddress or
// SDL_GL_GetProcAddress); null when the driver has none. Needs a current
// context.
void* glProcAddress(const char* name);

}  // namespace platform
