#include "synth/Chorus.h"

#include <cmath>

#include "synth/FloatToInt.h"
#include "synth/Sine.h"

void Chorus::setBlockSize(int n) {
  SendEffect::setBlockSize(n);
  uint32_t length = 2;
  while (length < 2u * uint32_t(n > 0 ? n : 1)) length *= 2;
  lineLength_ = length;
  lineLeft_.assign(length, 0.0f);
  lineRight_.assign(length, 0.0f);
}

void Chorus::process(const float* inLeft, const float* inRight, float* outLeft,
                     float* outRight) {
  if (lineLength_ == 0) return;
  const int n = blockSize;
  // 2 pi is a double constant: the phase is formed in float, the sine's
  // argument and the sine itself in double, and only the sine is rounded.
  const double twoPi = 6.283185307179586;
  const float inc = rate * 0.5f / float(n);
  lfoPhase -= std::trunc(lfoPhase);
  const float ph = lfoPhase;

  // Below 52 frames A is negative and the delay falls under 50 samples; the
  // masked line keeps every access inside it.
  const float A = float(n - 51) * depth * 0.5f;
  auto delayAt = [&](float cycles) {
    return 50.0f + (float(sine(twoPi * double(cycles))) + 1.0f) * A;
  };
  float delayLeft = delayAt(ph);
  float delayRight = delayAt(ph + stereoOffset * 0.5f);
  const float endLeft = delayAt(ph + rate * 0.5f);
  const float endRight = delayAt(ph + (stereoOffset + rate) * 0.5f);
  const float stepLeft = (endLeft - delayLeft) / float(n);
  const float stepRight = (endRight - delayRight) / float(n);

  const uint32_t mask = lineLength_ - 1;
  float* lineL = lineLeft_.data();
  float* lineR = lineRight_.data();
  for (int i = 0; i < n; ++i) {
    const int32_t kLeft = roundToInt(delayLeft);
    const int32_t kRight = roundToInt(delayRight);
    const float fLeft = delayLeft - float(kLeft);
    const float fRight = delayRight - float(kRight);
    const uint32_t w = ++writeCount;
    const float xLeft = inLeft[i];
    const float xRight = inRight[i];
    lineL[w & mask] = xLeft;
    lineR[w & mask] = xRight;
    const float yLeft = (1.0f - fLeft) * lineL[(w - uint32_t(kLeft)) & mask] +
                        fLeft * lineL[(w - uint32_t(kLeft) - 1) & mask];
    const float yRight = (1.0f - fRight) * lineR[(w - uint32_t(kRight)) & mask] +
                         fRight * lineR[(w - uint32_t(kRight) - 1) & mask];
    outLeft[i] += yLeft + dry * xLeft;
    outRight[i] += yRight + dry * xRight;
    if (feedback != 0.0f) {
      lineL[w & mask] += feedback * yLeft;
      lineR[w & mask] += feedback * yRight;
    }
    lfoPhase += inc;
    delayLeft += stepLeft;
    delayRight += stepRight;
  }
}
