// A stereo feedback delay whose times are counted in whole blocks, kept as a
// ring of up to 129 blocks per side.
#pragma once

#include <vector>

#include "synth/SendEffect.h"

class Delay : public SendEffect {
 public:
  static constexpr int kRingBlocks = 129;

  Delay();
  void save(DataStream& stream) override;
  void load(DataStream& stream) override;
  void process(const float* inLeft, const float* inRight, float* outLeft,
               float* outRight) override;
  void setBlockSize(int n) override;
  void update() override;

  int32_t delayLeft = 32;
  int32_t loopLeft = 32;
  float wetLeft = 0.5f;
  float feedbackLeft = 0.5f;
  int32_t delayRight = 16;
  int32_t loopRight = 32;
  float wetRight = 0.5f;
  float feedbackRight = 0.5f;
  float dry = 0.5f;

 private:
  struct Side {
    std::vector<std::vector<float>> ring;  // empty until the block size is set
    uint32_t write = 0, output = 0, feedback = 0, limit = 0;
  };
  void updateSide(Side& side, int32_t delay, int32_t loop);
  void processSide(Side& side, const float* in, float* out, float wet, float feedbackGain);

  Side left_, right_;
};
