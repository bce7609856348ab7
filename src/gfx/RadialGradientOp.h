// A two-colour gradient around the picture's centre, squared per component.
// Glows, sparks and the base of every plasma surface are made from it.
#pragma once

#include "gfx/GeneratorOp.h"

class RadialGradientOp : public GeneratorOp {
 public:
  RadialGradientOp();
  RadialGradientOp(Color first, Color second, float exponent);

  // t = min(1, (dx^2 + dy^2)^(1/exponent)) with dx, dy in [-1, 1); the pixel is
  // (first (1 - t) + second t) squared component-wise.
  ColorBuffer generate(ColorBuffer first, ColorBuffer second, int width, int height) override;
  // 9 bytes: header, first, second. The exponent is not part of the record.
  void save(std::FILE* file) override;
  void load(std::FILE* file) override;

  static constexpr int kType = 2;

  Color first;
  Color second;
  float exponent;
};
