// Bends its first input by the brightness of its second: each pixel is
// sampled from a place moved by sin(brightness * frequency * 50).
#pragma once

#include "gfx/CombinerOp.h"

class DistortOp : public CombinerOp {
 public:
  DistortOp();
  DistortOp(float strengthX, float strengthY, float frequency);

  // Both inputs must be width x height; both are released.
  ColorBuffer generate(ColorBuffer first, ColorBuffer second, int width, int height) override;
  // 4 bytes: header, then each value * 255 as one byte.
  void save(std::FILE* file) override;
  void load(std::FILE* file) override;

  static constexpr int kType = 1;

  float strengthX;
  float strengthY;
  float frequency;
};
