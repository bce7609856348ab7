// The effect chain at the end of a send bus: up to three slots of send
// effects run in series, their result added into the synthesizer's output.
#pragma once

#include <memory>
#include <vector>

#include "synth/SendEffect.h"

class EffectChain : public SendEffect {
 public:
  static constexpr int kSlots = 3;

  EffectChain() : SendEffect(moduleType::kNone) {}
  void save(DataStream& stream) override;
  void load(DataStream& stream) override;
  void process(const float* inLeft, const float* inRight, float* outLeft,
               float* outRight) override;
  void setBlockSize(int n) override;
  void update() override;

  // Replaces slot i by a new effect of the type (a send effect kind; any
  // other type empties the slot) and returns it, or null.
  SendEffect* fill(int slot, uint32_t type);

  std::unique_ptr<SendEffect> slots[kSlots];

 private:
  std::vector<float> tempLeft_ = std::vector<float>(1);
  std::vector<float> tempRight_ = std::vector<float>(1);
};
