// What the page's frame modes (PageFrames.h, PageCanvasFrames.h) share: the
// data folder they read, and what they tell the page's tests. A picture
// read back goes to Module.kylFramePixels (RGB rows, top row first) with
// Module.kylEvent("frame", "INDEX SECONDS WIDTH HEIGHT"); "frames-done"
// follows the last, "frames-failed" with the reason ends a mode that cannot
// go on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Makes the data folder the working directory; false when it cannot.
bool enterPageData(const char* folder);

void handPicture(size_t index, double seconds, int width, int height,
                 const std::vector<uint8_t>& rgb);
void framesDone();
// Says why the frames cannot be drawn; returns the exit status, 1.
int framesFailed(const std::string& reason);
