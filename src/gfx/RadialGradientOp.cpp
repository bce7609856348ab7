#include "gfx/RadialGradientOp.h"

#include <cmath>

#include "gfx/OpRecord.h"

RadialGradientOp::RadialGradientOp()
    : RadialGradientOp(Color(0, 0.9f, 0.7f, 1), Color(0.9f, 0.3f, 0.1f, 1), 2.0f) {}

RadialGradientOp::RadialGradientOp(Color first, Color second, float exponent)
    : GeneratorOp(kType), first(first), second(second), exponent(exponent) {}

ColorBuffer RadialGradientOp::generate(ColorBuffer, ColorBuffer, int width, int height) {
  ColorBuffer out(new Color[size_t(width) * size_t(height)]);
  const double power = double(1.0f / exponent);
  for (int y = 0; y < height; ++y) {
    const float dy = float(2 * y) / float(height) - 1.0f;
    for (int x = 0; x < width; ++x) {
      const float dx = float(2 * x) / float(width) - 1.0f;
      float t = float(std::pow(double(dx * dx + dy * dy), power));
      if (t > 1.0f) t = 1.0f;
      const Color c = first.scale(1.0f - t).add(second.scale(t));
      out[size_t(y) * size_t(width) + size_t(x)] = c.modulate(c);
    }
  }
  return out;
}

void RadialGradientOp::save(std::FILE* file) {
  opRecord::writeByte(file, recordHeader());
  opRecord::writeColor(file, first);
  opRecord::writeColor(file, second);
}

void RadialGradientOp::load(std::FILE* file) {
  opRecord::readColor(file, &first) && opRecord::readColor(file, &second);
}
