#include "synth/Delay.h"

#include <algorithm>

#include "synth/DataStream.h"

Delay::Delay() { update(); }

std::string Delay::settingsProblem() const {
  if (delayLeft + loopLeft <= kMaxBlocks && delayRight + loopRight <= kMaxBlocks) return {};
  return "delay plus loop must not exceed " + std::to_string(kMaxBlocks) +
         " blocks on either side";
}

void Delay::load(DataStream& stream) {
  Parameterized::load(stream);
  update();
}

void Delay::setBlockSize(int n) {
  SendEffect::setBlockSize(n);
  for (Side* side : {&left_, &right_})
    side->ring.assign(kRingBlocks, std::vector<float>(size_t(std::max(n, 1)), 0.0f));
}

void Delay::updateSide(Side& side, int32_t delay, int32_t loop) {
  // The ring holds 129 blocks: delay and loop are held so that their sum
  // stays within it (the stored values are kept as they are).
  const uint32_t d = uint32_t(std::clamp(delay, 0, kRingBlocks - 1));
  const uint32_t l = uint32_t(std::clamp(loop, 0, int32_t(kRingBlocks - 1 - d)));
  side.limit = d + l;
  side.write = d + l;
  side.output = l;
  side.feedback = 0;
}

void Delay::update() {
  updateSide(left_, delayLeft, loopLeft);
  updateSide(right_, delayRight, loopRight);
}

void Delay::processSide(Side& side, const float* in, float* out, float wet, float feedbackGain) {
  if (side.ring.empty()) return;
  const int n = std::min(blockSize, int(side.ring[0].size()));
  float* output = side.ring[side.output].data();
  const float* feedback = side.ring[side.feedback].data();
  float* write = side.ring[side.write].data();
  for (int i = 0; i < n; ++i) {
    output[i] += feedback[i] * feedbackGain;
    write[i] = in[i];
    out[i] += output[i] * wet + dry * in[i];
  }
  for (uint32_t* position : {&side.write, &side.output, &side.feedback})
    if (++*position > side.limit) *position = 0;
}

void Delay::process(const float* inLeft, const float* inRight, float* outLeft, float* outRight) {
  processSide(left_, inLeft, outLeft, wetLeft, feedbackLeft);
  processSide(right_, inRight, outRight, wetRight, feedbackRight);
}
