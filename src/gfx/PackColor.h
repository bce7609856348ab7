// Turns a float Color into the four bytes OpenGL is given.
#pragma once

#include <cstdint>

#include "gfx/Color.h"

// Each component clamped to [0, 1], times 255, truncated (1.0 -> 255,
// 0.999 -> 254; not a number -> 0); red, green, blue, alpha become the bytes
// at increasing addresses of the result.
uint32_t packColor(const Color& c);
