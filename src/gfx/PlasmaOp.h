// A sum-of-sines plasma drawn from the main thread's rand after
// platform::srand(seed): same parameters, same picture.
#pragma once

#include <cstdint>

#include "gfx/GeneratorOp.h"

class PlasmaOp : public GeneratorOp {
 public:
  PlasmaOp();
  PlasmaOp(Color positive, Color negative, uint16_t seed, uint8_t waves, uint8_t rangeX,
           uint8_t rangeY);

  // Positive colour where the waves sum above zero, negative below, both
  // scaled (alpha too) by the sine of the normalised sum. No waves: all 0.
  ColorBuffer generate(ColorBuffer first, ColorBuffer second, int width, int height) override;
  // 14 bytes: header, positive, negative, seed (2), waves, rangeX, rangeY.
  void save(std::FILE* file) override;
  void load(std::FILE* file) override;

  static constexpr int kType = 1;

  Color positive;
  Color negative;
  uint16_t seed;
  uint8_t waves;
  uint8_t rangeX;
  uint8_t rangeY;
};
