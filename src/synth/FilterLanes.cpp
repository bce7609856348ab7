#include "synth/FilterLanes.h"

#include <utility>

#include "synth/FilterStage.h"

namespace {

// Four lanes, each doing what Filter's single-lane code does.
typedef float Quad __attribute__((vector_size(16)));

struct QuadStage {
  Quad low, high, band, notch;
};

// Groups lanes of four: per group its stages, coefficient ramp, damping and
// gain, gathered from and written back to the filters.
template <int Groups>
struct LaneSet {
  float* rows[4 * Groups];
  QuadStage output[Groups], first[Groups];
  Quad c[Groups], step[Groups], q[Groups], gain[Groups];
};

// Lane g's outputs of sample i go to its rows.
template <int Groups>
inline void storeLanes(LaneSet<Groups>& set, int g, int i, const Quad& y) {
  float* const* row = set.rows + 4 * g;
  row[0][i] = y[0];
  row[1][i] = y[1];
  row[2][i] = y[2];
  row[3][i] = y[3];
}

// Each sample's outputs go out one step late, once the next inputs are in.
// clang 14's WebAssembly SIMD code generator builds x from a
// v128.load32_splat of lane 0's input and places that load after the stores
// of the same step (its optimised IR still loads first; the stores of a
// low-pass output, which does not wait for the input, are then free to go
// ahead), so lane 0 read its own output. Stores one step behind the loads
// never meet them.
template <int32_t Mode, bool Single, int Groups>
void runLanes(LaneSet<Groups>& set, int n) {
  const Quad one = {1.0f, 1.0f, 1.0f, 1.0f};
  QuadStage output[Groups], first[Groups];
  Quad c[Groups], y[Groups];
  for (int g = 0; g < Groups; ++g) {
    output[g] = set.output[g];
    first[g] = set.first[g];
    c[g] = set.c[g];
  }
  for (int i = 0; i < n; ++i) {
    for (int g = 0; g < Groups; ++g) {
      float* const* row = set.rows + 4 * g;
      const Quad x = {row[0][i], row[1][i], row[2][i], row[3][i]};
      if (i > 0) storeLanes(set, g, i - 1, y[g]);
      const Quad u = set.gain[g] * x;
      if (Single) {
        y[g] = runFilterStage<Mode>(output[g], u, c[g], set.q[g]);
      } else {
        y[g] = runFilterStage<Mode>(output[g], runFilterStage<Mode>(first[g], u, c[g], one), c[g],
                                    set.q[g]);
      }
      c[g] += set.step[g];
    }
  }
  for (int g = 0; g < Groups; ++g) {
    if (n > 0) storeLanes(set, g, n - 1, y[g]);
    set.output[g] = output[g];
    set.first[g] = first[g];
  }
}

template <int32_t Mode, int Groups>
void runMode(LaneSet<Groups>& set, int n, bool single) {
  if (single)
    runLanes<Mode, true, Groups>(set, n);
  else
    runLanes<Mode, false, Groups>(set, n);
}

template <int Groups>
void runSet(Filter* const* filters, float* const* buffers, const ModulatorList* const* modulators,
            int count, float* spare) {
  LaneSet<Groups> set{};
  const Filter& lead = *filters[0];
  for (int j = 0; j < 4 * Groups; ++j) {
    const int g = j / 4, lane = j % 4;
    if (j >= count) {
      set.rows[j] = spare;
      continue;
    }
    const Filter& f = *filters[j];
    set.rows[j] = buffers[j];
    float start, step;
    f.cutoffRamp(*modulators[j], start, step);
    set.c[g][lane] = start;
    set.step[g][lane] = step;
    set.q[g][lane] = 1.0f - f.resonance;
    set.gain[g][lane] = f.inputGain;
    for (auto [from, to] : {std::pair{&f.output, &set.output[g]}, std::pair{&f.first, &set.first[g]}}) {
      to->low[lane] = from->low;
      to->high[lane] = from->high;
      to->band[lane] = from->band;
      to->notch[lane] = from->notch;
    }
  }
  const int n = lead.blockSize;
  switch (lead.mode) {
    case Filter::kHighPass: runMode<Filter::kHighPass>(set, n, lead.singleStage); break;
    case Filter::kBandPass: runMode<Filter::kBandPass>(set, n, lead.singleStage); break;
    case Filter::kNotch: runMode<Filter::kNotch>(set, n, lead.singleStage); break;
    default: runMode<Filter::kLowPass>(set, n, lead.singleStage); break;
  }
  for (int j = 0; j < count; ++j) {
    const int g = j / 4, lane = j % 4;
    Filter& f = *filters[j];
    // A single stage leaves the first stage's state as it was.
    for (auto [from, to] : {std::pair{&set.output[g], &f.output}, std::pair{&set.first[g], &f.first}}) {
      to->low = from->low[lane];
      to->high = from->high[lane];
      to->band = from->band[lane];
      to->notch = from->notch[lane];
    }
  }
}

}  // namespace

bool FilterLanes::compatible(const Filter& a, const Filter& b) {
  return a.mode == b.mode && a.singleStage == b.singleStage && a.blockSize == b.blockSize;
}

void FilterLanes::process(Filter* const* filters, float* const* buffers,
                          const ModulatorList* const* modulators, int count, float* spare) {
  if (count <= 4)
    runSet<1>(filters, buffers, modulators, count, spare);
  else
    runSet<2>(filters, buffers, modulators, count, spare);
}
