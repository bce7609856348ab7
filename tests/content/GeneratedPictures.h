// The show's pictures for the tests: the files the build wrote with
// kyl_picgen when the build makes them (so the tests check what the show
// reads, and stay fast), else made in memory through the generator's own
// catalog. File name to TGA bytes, plus a reader for them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace content_test {

using TgaBytes = std::vector<uint8_t>;

// Every picture of the catalog, read or generated on first use.
const std::map<std::string, TgaBytes>& generatedPictures();
// A fresh generation of every picture in this process (to compare runs).
std::map<std::string, TgaBytes> generateAllPictures();

// Reads a generated file the way a picture viewer does.
struct TgaView {
  explicit TgaView(const TgaBytes& bytes) : bytes(bytes) {}
  int width() const { return bytes[12] | (bytes[13] << 8); }
  int height() const { return bytes[14] | (bytes[15] << 8); }
  // Channel (0 blue, 1 green, 2 red, 3 alpha) of the pixel at column x of
  // row y counted from the TOP of the picture (the file stores the bottom
  // row first).
  int channel(int x, int y, int c) const {
    size_t row = size_t(height() - 1 - y);
    return bytes[18 + (row * size_t(width()) + size_t(x)) * 4 + size_t(c)];
  }
  int alpha(int x, int y) const { return channel(x, y, 3); }
  float luma(int x, int y) const {
    return (0.0722f * float(channel(x, y, 0)) + 0.7152f * float(channel(x, y, 1)) +
            0.2126f * float(channel(x, y, 2))) / 255.0f;
  }
  const TgaBytes& bytes;
};

}  // namespace content_test
