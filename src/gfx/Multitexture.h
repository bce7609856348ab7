// The ARB multitexture entry points, fetched from the current context. Null
// when the driver lacks them; objects then draw with their first texture
// only. Kept in a namespace so they never clash with the GL library's own
// exported symbols of the same name.
#pragma once

#include "platform/Gl.h"

namespace multitexture {

extern platform::ActiveTextureProc glActiveTextureARB;
extern platform::ActiveTextureProc glClientActiveTextureARB;

// Looks both up in the current context (needs one). Every SceneObject does
// this when it is constructed.
void fetchEntryPoints();
// Both entry points are there.
bool available();

}  // namespace multitexture
