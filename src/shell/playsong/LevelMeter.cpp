#include "shell/playsong/LevelMeter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

int loudest(const void* region, uint32_t bytes) {
  int peak = 0;
  const auto* p = static_cast<const uint8_t*>(region);
  for (uint32_t i = 0; i + 1 < bytes; i += 2) {
    int16_t sample;
    std::memcpy(&sample, p + i, 2);
    peak = std::max(peak, std::abs(int(sample)));
  }
  return peak;
}

}  // namespace

bool LevelMeter::lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* size1,
                      void** region2, uint32_t* size2, uint32_t flags) {
  wholeRing_ = (flags & platform::kLockEntireBuffer) != 0;
  return ring_->lock(offset, bytes, region1, size1, region2, size2, flags);
}

bool LevelMeter::unlock(void* region1, uint32_t size1, void* region2, uint32_t size2) {
  if (!wholeRing_) {
    int peak = 0;
    if (region1) peak = loudest(region1, size1);
    if (region2) peak = std::max(peak, loudest(region2, size2));
    const uint32_t block = blocks_.load(std::memory_order_relaxed);
    peaks_[block % kHistory].store(uint16_t(std::min(peak, 32767)), std::memory_order_relaxed);
    blocks_.store(block + 1, std::memory_order_release);
  }
  return ring_->unlock(region1, size1, region2, size2);
}

float LevelMeter::peak(uint32_t back, uint32_t count) const {
  const uint32_t written = blocks_.load(std::memory_order_acquire);
  int peak = 0;
  for (uint32_t i = 0; i < count && i < kHistory; ++i) {
    const uint32_t ago = back + i + 1;
    if (ago > written || ago > kHistory) break;
    peak = std::max<int>(peak, peaks_[(written - ago) % kHistory].load(std::memory_order_relaxed));
  }
  return float(peak) / 32767.0f;
}
