// What the show's window gives every scene (viewport, 90-degree perspective,
// identity model-view), and the frame read back, for scene tests at any size.
#pragma once

#include <cstdint>
#include <vector>

void enterShowWindowState(int width, int height);
// The back buffer as RGB bytes, bottom row first.
std::vector<uint8_t> readBackFrame(int width, int height);
