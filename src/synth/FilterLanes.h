// Runs the filters of several voices side by side. One filter's
// state-variable recursion is a chain of dependent operations that leaves the
// processor waiting most of the time; the voices of a layer have filters of
// one mode, whose chains can share vector lanes instead. Every lane gets
// exactly the floats that Filter::process gives.
#pragma once

#include "synth/Filter.h"

class FilterLanes {
 public:
  static constexpr int kMaxLanes = 8;

  // Whether b can run beside a: same mode, stage count and block size.
  static bool compatible(const Filter& a, const Filter& b);

  // Runs filters[j] over buffers[j], its routes read from modulators[j], for
  // j below count (1 to kMaxLanes, all compatible with filters[0]). spare is
  // a buffer of blockSize floats that the unused lanes may overwrite.
  static void process(Filter* const* filters, float* const* buffers,
                      const ModulatorList* const* modulators, int count, float* spare);
};
