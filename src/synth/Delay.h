// A stereo feedback delay whose times are counted in whole blocks, kept as a
// ring of up to 129 blocks per side.
#pragma once

#include <vector>

#include "synth/Parameterized.h"
#include "synth/SendEffect.h"

class Delay : public Parameterized<Delay, SendEffect> {
 public:
  static constexpr uint32_t kType = moduleType::kDelay;
  static constexpr int kRingBlocks = 129;
  // A side's delay plus loop: the ring holds that many blocks and one more.
  static constexpr int kMaxBlocks = kRingBlocks - 1;

  Delay();
  // The ring positions follow the loaded times.
  void load(DataStream& stream) override;
  void process(const float* inLeft, const float* inRight, float* outLeft,
               float* outRight) override;
  void setBlockSize(int n) override;
  void update() override;
  std::string settingsProblem() const override;

  int32_t delayLeft = 32;
  int32_t loopLeft = 32;
  float wetLeft = 0.5f;
  float feedbackLeft = 0.5f;
  int32_t delayRight = 16;
  int32_t loopRight = 32;
  float wetRight = 0.5f;
  float feedbackRight = 0.5f;
  float dry = 0.5f;

  // The record: the stored parameters in file order (Parameter.h). Delay
  // and loop are whole blocks; a side's two together fit the ring
  // (settingsProblem).
  template <class Visit, class... Self>
  static void describe(Visit&& visit, Self&... delay) {
    visit(param::integer("delayLeft", 0, kMaxBlocks), delay.delayLeft...);
    visit(param::integer("loopLeft", 0, kMaxBlocks), delay.loopLeft...);
    visit(param::real("wetLeft"), delay.wetLeft...);
    visit(param::real("feedbackLeft"), delay.feedbackLeft...);
    visit(param::integer("delayRight", 0, kMaxBlocks), delay.delayRight...);
    visit(param::integer("loopRight", 0, kMaxBlocks), delay.loopRight...);
    visit(param::real("wetRight"), delay.wetRight...);
    visit(param::real("feedbackRight"), delay.feedbackRight...);
    visit(param::real("dry"), delay.dry...);
  }

 private:
  struct Side {
    std::vector<std::vector<float>> ring;  // empty until the block size is set
    uint32_t write = 0, output = 0, feedback = 0, limit = 0;
  };
  void updateSide(Side& side, int32_t delay, int32_t loop);
  void processSide(Side& side, const float* in, float* out, float wet, float feedbackGain);

  Side left_, right_;
};
