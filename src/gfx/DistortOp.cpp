#include "gfx/DistortOp.h"

#include <cmath>

#include "gfx/OpRecord.h"
#include "gfx/SampleWrapped.h"

DistortOp::DistortOp() : DistortOp(0.15f, 0.15f, 0.3f) {}

DistortOp::DistortOp(float strengthX, float strengthY, float frequency)
    : CombinerOp(kType), strengthX(strengthX), strengthY(strengthY), frequency(frequency) {}

ColorBuffer DistortOp::generate(ColorBuffer first, ColorBuffer second, int width, int height) {
  const size_t count = size_t(width) * size_t(height);
  // A missing input counts as transparent black rather than a null read.
  if (!first) first = ColorBuffer(new Color[count]());
  if (!second) second = ColorBuffer(new Color[count]());
  ColorBuffer out(new Color[count]);
  const float w = float(width);
  const float h = float(height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t i = size_t(y) * size_t(width) + size_t(x);
      const Color& source = second[i];
      const float s = source.blue + source.green + source.red;
      const float d = float(std::sin(double(s * frequency * 50.0f)));
      const float xs = d * strengthX * 100000.0f / w + float(x);
      const float ys = d * strengthY * 100000.0f / h + float(y);
      out[i] = sampleWrapped(first.get(), width, height, xs, ys);
    }
  }
  return out;  // the inputs go with their unique pointers
}

void DistortOp::save(std::FILE* file) {
  opRecord::writeByte(file, recordHeader());
  opRecord::writeUnit(file, strengthX);
  opRecord::writeUnit(file, strengthY);
  opRecord::writeUnit(file, frequency);
}

void DistortOp::load(std::FILE* file) {
  opRecord::readUnit(file, &strengthX) && opRecord::readUnit(file, &strengthY) &&
      opRecord::readUnit(file, &frequency);
}
