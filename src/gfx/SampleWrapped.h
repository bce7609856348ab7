// The four-neighbour sample that resizes pictures and bends them.
#pragma once

#include "gfx/Color.h"

// Samples a w x h buffer at (x, y) with wrap-around. The weights are the
// sums (2-fx-fy)/4, (1+fx-fy)/4, (1-fx+fy)/4, (fx+fy)/4 of the pixel, its
// right neighbour, the one below and the diagonal, not bilinear products:
// the look of every resized and distorted texture depends on them.
// Coordinates beyond the 32-bit range (or not finite) sample as 0.
Color sampleWrapped(const Color* buffer, int w, int h, float x, float y);
