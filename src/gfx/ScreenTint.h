// The fullscreen blended quad the scenes fade and flash with.
#pragma once

// Blends (red, green, blue) with the given alpha over the whole viewport at
// window depth 0.5; depth test, depth writes and fog stay as the caller has
// them. All other state is restored.
void drawScreenTint(float red, float green, float blue, float alpha);
