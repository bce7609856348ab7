// A sound buffer that nobody hears: used when no device can be opened, so the
// song clock still runs at the real-time rate and the show plays through in
// time, without sound.
//
// The play cursor is computed from the performance counter, not advanced by
// a thread, so the ring needs no device thread and reads are lock-free. The
// cursor state changes only at start and stop, when no streaming pass depends
// on a consistent pair.
#include <algorithm>
#include <atomic>
#include <vector>

#include "platform/Clock.h"
#include "platform/SoundDevice.h"
#include "platform/common/RingLock.h"

namespace platform {
namespace {

class SilentSoundBuffer final : public SoundBuffer {
 public:
  SilentSoundBuffer(uint32_t bytes, const WaveFormat& format)
      : ring_(bytes, 0),
        bytesPerFrame_(std::max<uint32_t>(1, format.bytesPerFrame())),
        framesPerSecond_(format.framesPerSecond),
        frequency_(performanceFrequency()) {}

  uint32_t size() const override { return uint32_t(ring_.size()); }

  bool getCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) override {
    uint32_t cursor = current();
    if (playCursor) *playCursor = cursor;
    if (writeCursor) *writeCursor = cursor;
    return true;
  }

  bool setCurrentPosition(uint32_t playCursor) override {
    uint64_t frame = (playCursor % size()) / bytesPerFrame_;
    base_.store(frame, std::memory_order_relaxed);
    origin_.store(performanceCounter(), std::memory_order_release);
    return true;
  }

  bool lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* size1, void** region2,
            uint32_t* size2, uint32_t flags) override {
    return lockRing(ring_, offset, bytes, flags, region1, size1, region2, size2);
  }

  bool unlock(void*, uint32_t, void*, uint32_t) override { return true; }

  bool playLooping() override {
    if (playing_.load()) return true;
    origin_.store(performanceCounter(), std::memory_order_relaxed);
    playing_.store(true, std::memory_order_release);
    return true;
  }

  bool stop() override {
    if (!playing_.load()) return true;
    base_.store(frames(), std::memory_order_relaxed);
    playing_.store(false, std::memory_order_release);
    return true;
  }

 private:
  // Frames played since the ring's start, counted on the performance counter.
  uint64_t frames() const {
    uint64_t base = base_.load(std::memory_order_relaxed);
    if (!playing_.load(std::memory_order_acquire)) return base;
    int64_t elapsed = performanceCounter() - origin_.load(std::memory_order_acquire);
    if (elapsed < 0) elapsed = 0;
    // Split to keep the product within 64 bits for long runs.
    uint64_t whole = uint64_t(elapsed / frequency_) * framesPerSecond_;
    uint64_t part = uint64_t(elapsed % frequency_) * framesPerSecond_ / uint64_t(frequency_);
    return base + whole + part;
  }

  uint32_t current() const {
    uint64_t framesInRing = size() / bytesPerFrame_;
    return uint32_t(frames() % framesInRing) * bytesPerFrame_;
  }

  std::vector<uint8_t> ring_;
  uint32_t bytesPerFrame_;
  uint32_t framesPerSecond_;
  int64_t frequency_;
  std::atomic<bool> playing_{false};
  std::atomic<int64_t> origin_{0};
  std::atomic<uint64_t> base_{0};
};

}  // namespace

std::unique_ptr<SoundBuffer> createSilentSoundBuffer(uint32_t bytes, const WaveFormat& format) {
  if (bytes == 0) return nullptr;
  return std::make_unique<SilentSoundBuffer>(bytes, format);
}

}  // namespace platform
