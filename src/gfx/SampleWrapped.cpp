#include "gfx/SampleWrapped.h"

#include <cmath>
#include <cstdint>

namespace {
// Below 2^31 and not NaN: the truncation to int32 is defined.
float inIntRange(float v) { return std::fabs(v) < 2147483520.0f ? v : 0.0f; }
}  // namespace

Color sampleWrapped(const Color* buffer, int w, int h, float x, float y) {
  if (w <= 0 || h <= 0) return Color();
  x = inIntRange(x);
  y = inIntRange(y);
  const int32_t ix = int32_t(x);
  const int32_t iy = int32_t(y);
  const float fx = x - float(ix);
  const float fy = y - float(iy);
  // Unsigned modulo: negative coordinates wrap to the far edge for the
  // power-of-two sizes in use.
  const uint32_t c0 = uint32_t(ix) % uint32_t(w);
  const uint32_t c1 = (c0 + 1) % uint32_t(w);
  const uint32_t r0 = uint32_t(iy) % uint32_t(h);
  const uint32_t r1 = (r0 + 1) % uint32_t(h);
  const Color& p00 = buffer[size_t(r0) * size_t(w) + c0];
  const Color& p01 = buffer[size_t(r0) * size_t(w) + c1];
  const Color& p10 = buffer[size_t(r1) * size_t(w) + c0];
  const Color& p11 = buffer[size_t(r1) * size_t(w) + c1];
  return p00.scale((2.0f - fx - fy) / 4.0f)
      .add(p01.scale((1.0f + fx - fy) / 4.0f))
      .add(p10.scale((1.0f - fx + fy) / 4.0f))
      .add(p11.scale((fx + fy) / 4.0f));
}
