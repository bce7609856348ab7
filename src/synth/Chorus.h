// A stereo chorus: a delay line of a few dozen samples swept by a sine LFO,
// the right side's LFO ahead of the left's.
#pragma once

#include <vector>

#include "synth/Parameterized.h"
#include "synth/SendEffect.h"

class Chorus : public Parameterized<Chorus, SendEffect> {
 public:
  static constexpr uint32_t kType = moduleType::kChorus;

  void process(const float* inLeft, const float* inRight, float* outLeft,
               float* outRight) override;
  void setBlockSize(int n) override;

  float rate = 0.02f;
  float depth = 0.4f;
  float stereoOffset = 1.0f;
  float feedback = 0.1f;
  float spareValue = -1.0f;
  float dry = 0.0f;
  bool spareFlag = true;

  // The record: the stored parameters in file order (Parameter.h).
  template <class Visit, class... Self>
  static void describe(Visit&& visit, Self&... chorus) {
    visit(param::real("rate"), chorus.rate...);
    visit(param::real("depth"), chorus.depth...);
    visit(param::real("stereoOffset"), chorus.stereoOffset...);
    visit(param::real("feedback"), chorus.feedback...);
    visit(param::real("spareValue"), chorus.spareValue...);
    visit(param::real("dry"), chorus.dry...);
    visit(param::strictFlag("spareFlag"), chorus.spareFlag...);
  }

  float lfoPhase = 0.0f;
  uint32_t writeCount = 0;

 private:
  uint32_t lineLength_ = 0;  // a power of two, 0 until the block size is set
  std::vector<float> lineLeft_, lineRight_;
};
