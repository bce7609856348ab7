#include "gfx/PackColor.h"

#include <cstring>

namespace {
uint8_t toByte(float v) {
  if (!(v > 0.0f)) return 0;  // negative or not a number
  if (v > 1.0f) v = 1.0f;
  return uint8_t(v * 255.0f);
}
}  // namespace

uint32_t packColor(const Color& c) {
  const uint8_t bytes[4] = {toByte(c.red), toByte(c.green), toByte(c.blue), toByte(c.alpha)};
  uint32_t pixel;
  std::memcpy(&pixel, bytes, 4);
  return pixel;
}
