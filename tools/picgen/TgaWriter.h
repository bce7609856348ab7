// Picture generator: writes Pictures as the show's loader reads them, an
// uncompressed true-colour TGA with an 18-byte header, no image identifier,
// no colour map, 32 bits per pixel in the byte order blue, green, red,
// alpha, bottom row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Picture.h"

namespace picgen {

class TgaWriter {
 public:
  static constexpr int kHeaderSize = 18;

  // The whole file. Colour is un-premultiplied; where a pixel is (nearly)
  // transparent it takes the colour of the content around it, so that the
  // show's linear filtering draws no dark fringe at shape edges.
  static std::vector<uint8_t> encode(const Picture& picture);
  // Writes the bytes; returns false (and says why on stderr) on failure.
  static bool write(const std::string& path, const std::vector<uint8_t>& bytes);
};

}  // namespace picgen
