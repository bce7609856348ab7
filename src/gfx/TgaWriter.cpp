#include "gfx/TgaWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

bool writeTga(const char* path, int width, int height, const uint32_t* packed,
              std::string* error) {
  if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) {
    *error = "size cannot be stored in a TGA header";
    return false;
  }
  uint8_t header[18] = {};
  header[2] = 2;  // uncompressed true colour
  header[12] = uint8_t(width & 0xFF);
  header[13] = uint8_t(width >> 8);
  header[14] = uint8_t(height & 0xFF);
  header[15] = uint8_t(height >> 8);
  header[16] = 32;
  header[17] = 8;  // 8 alpha bits, origin at the bottom left
  const size_t count = size_t(width) * size_t(height);
  std::vector<uint8_t> body(count * 4);
  const auto* rgba = reinterpret_cast<const uint8_t*>(packed);
  for (size_t i = 0; i < count; ++i) {
    body[4 * i + 0] = rgba[4 * i + 2];
    body[4 * i + 1] = rgba[4 * i + 1];
    body[4 * i + 2] = rgba[4 * i + 0];
    body[4 * i + 3] = rgba[4 * i + 3];
  }
  std::FILE* file = std::fopen(path, "wb");
  if (!file) {
    *error = std::strerror(errno);
    return false;
  }
  bool ok = std::fwrite(header, 1, sizeof header, file) == sizeof header &&
            std::fwrite(body.data(), 1, body.size(), file) == body.size();
  if (std::fclose(file) != 0) ok = false;
  if (!ok) *error = "write failed";
  return ok;
}
