#include "WorkletRing.h"

#include <cstring>

#include "platform/common/RingLock.h"

WorkletRing::WorkletRing(uint32_t bytes) : ring_(bytes / kBytesPerFrame * kBytesPerFrame, 0) {}

bool WorkletRing::getCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) {
  if (playCursor) *playCursor = cursor_;
  if (writeCursor) *writeCursor = cursor_;
  return true;
}

bool WorkletRing::setCurrentPosition(uint32_t playCursor) {
  if (ring_.empty()) return false;
  cursor_ = playCursor % size() / kBytesPerFrame * kBytesPerFrame;
  return true;
}

bool WorkletRing::lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* size1,
                       void** region2, uint32_t* size2, uint32_t flags) {
  return platform::lockRing(ring_, offset, bytes, flags, region1, size1, region2, size2);
}

bool WorkletRing::playLooping() {
  playing_ = !ring_.empty();
  return playing_;
}

bool WorkletRing::stop() {
  playing_ = false;
  return true;
}

void WorkletRing::play(float* left, float* right, int frames) {
  for (int i = 0; i < frames; ++i) {
    if (!playing_) {
      left[i] = right[i] = 0.0f;
      continue;
    }
    int16_t sample[2];
    std::memcpy(sample, ring_.data() + cursor_, sizeof sample);
    left[i] = float(sample[0]) * (1.0f / 32768.0f);
    right[i] = float(sample[1]) * (1.0f / 32768.0f);
    cursor_ += kBytesPerFrame;
    if (cursor_ >= ring_.size()) cursor_ = 0;
  }
}
