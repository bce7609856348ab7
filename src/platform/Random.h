// The runtime's pseudo-random generator under the platform layer's names:
// it lives in the base library, which the synthesizer uses without the
// platform layer (base/Random.h says how it draws).
#pragma once

#include "base/Random.h"

namespace platform {

using base::kRandMax;
using base::rand;
using base::srand;

}  // namespace platform
