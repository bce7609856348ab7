// The lock of a ring buffer kept in memory, as DirectSound hands it out: the
// range up to the ring's end as region 1, the rest from its start as
// region 2. Shared by the rings the platform keeps itself (SDL's device ring
// and the silent ring).
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/SoundDevice.h"

namespace platform {

inline bool lockRing(std::vector<uint8_t>& ring, uint32_t offset, uint32_t bytes, uint32_t flags,
                     void** region1, uint32_t* size1, void** region2, uint32_t* size2) {
  const auto size = uint32_t(ring.size());
  if (flags & kLockEntireBuffer) {
    offset = 0;
    bytes = size;
  }
  if (offset >= size || bytes == 0 || bytes > size) return false;
  const uint32_t first = std::min(bytes, size - offset);
  *region1 = ring.data() + offset;
  *size1 = first;
  if (region2) *region2 = first < bytes ? ring.data() : nullptr;
  if (size2) *size2 = bytes - first;
  return true;
}

}  // namespace platform
