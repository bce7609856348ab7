#include "gfx/PlasmaOp.h"

#include <cmath>
#include <vector>

#include "gfx/OpRecord.h"
#include "platform/Random.h"

namespace {
constexpr float kPhaseStep = 0.05882352963089943f;  // 1/17
constexpr float kTurn = 6.2829999923706055f;        // 6.283, not 2 pi

// An integer from -range to range - 1.
float randomOffset(int range) { return float(platform::rand() % (2 * range) - range); }
}  // namespace

PlasmaOp::PlasmaOp()
    : PlasmaOp(Color(0, 0.9f, 0.7f, 1), Color(0.9f, 0.3f, 0.1f, 1), 6, 4, 8, 8) {}

PlasmaOp::PlasmaOp(Color positive, Color negative, uint16_t seed, uint8_t waves, uint8_t rangeX,
                   uint8_t rangeY)
    : GeneratorOp(kType),
      positive(positive),
      negative(negative),
      seed(seed),
      waves(waves),
      rangeX(rangeX),
      rangeY(rangeY) {}

ColorBuffer PlasmaOp::generate(ColorBuffer, ColorBuffer, int width, int height) {
  platform::srand(seed);
  std::vector<float> ax1(waves, 0.0f), ax2(waves, 0.0f), ay1(waves, 0.0f), ay2(waves, 0.0f);
  std::vector<float> phase1(waves), phase2(waves);
  for (int i = 0; i < waves; ++i) {
    if (rangeX > 0) {
      ax1[i] = randomOffset(rangeX);
      ax2[i] = randomOffset(rangeX);
    }
    if (rangeY > 0) {
      ay2[i] = randomOffset(rangeY);
      ay1[i] = randomOffset(rangeY);
    }
    phase1[i] = float(platform::rand() % 1000) * kPhaseStep;
    phase2[i] = float(platform::rand() % 1000) * kPhaseStep;
  }

  ColorBuffer out(new Color[size_t(width) * size_t(height)]);
  const float w = float(width);
  const float h = float(height);
  for (int y = 0; y < height; ++y) {
    const float fy = float(y);
    for (int x = 0; x < width; ++x) {
      const float fx = float(x);
      float sum = 0.0f;
      for (int i = 0; i < waves; ++i) {
        const float s1 = float(std::sin(double(kTurn * (fy * ay1[i] / h + fx * ax1[i] / w) + phase1[i])));
        const float s2 = float(std::sin(double(kTurn * (fx * ax2[i] / w + fy * ay2[i] / h) + phase2[i])));
        sum += s1 + s2;
      }
      // Without waves the sum is 0 and so is the picture (not 0/0).
      const float v = waves > 0 ? sum / float(2 * waves) : 0.0f;
      Color c;
      if (v > 0.0f) {
        c = positive.scale(float(std::sin(3.14 * double(v))));
      } else {
        c = negative.scale(float(std::sin(-3.14 * double(v))));
      }
      out[size_t(y) * size_t(width) + size_t(x)] = c;
    }
  }
  return out;
}

void PlasmaOp::save(std::FILE* file) {
  opRecord::writeByte(file, recordHeader());
  opRecord::writeColor(file, positive);
  opRecord::writeColor(file, negative);
  opRecord::writeByte(file, uint8_t(seed & 0xFF));
  opRecord::writeByte(file, uint8_t(seed >> 8));
  opRecord::writeByte(file, waves);
  opRecord::writeByte(file, rangeX);
  opRecord::writeByte(file, rangeY);
}

void PlasmaOp::load(std::FILE* file) {
  if (!opRecord::readColor(file, &positive) || !opRecord::readColor(file, &negative)) return;
  uint8_t low = 0, high = 0;
  if (!opRecord::readByte(file, &low) || !opRecord::readByte(file, &high)) return;
  seed = uint16_t(low | (high << 8));
  opRecord::readByte(file, &waves) && opRecord::readByte(file, &rangeX) &&
      opRecord::readByte(file, &rangeY);
}
