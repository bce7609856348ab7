// Hands a picture read back in the page to the page's tests: page.js keeps
// Module.kylFramePixels (RGB rows, top row first) under the index that
// Module.kylEvent("frame", "INDEX SECONDS WIDTH HEIGHT") names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

void handPicture(size_t index, double seconds, int width, int height,
                 const std::vector<uint8_t>& rgb);
