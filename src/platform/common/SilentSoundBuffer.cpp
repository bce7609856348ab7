// A sound buffer that nobody hears: used when no device can be opened, so the
// song clock still runs at the real-time rate and the show plays through in
// time, without sound.
//
// The play cursor is computed from the performance counter, not advanced by
// a thread, so the ring needs no device thread. Its state (playing, the
// counter at the start, the frames before it) changes at start, stop and
// repositioning while the streaming thread reads the cursor; a read that
// overlapped a stop and saw half of it would put the cursor back and make the
// next pass fill the whole ring. A mutex, held for a few instructions, keeps
// the counter reading and the state together.
#include <algorithm>
#include <mutex>
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
    std::lock_guard<std::mutex> guard(mutex_);
    base_ = (playCursor % size()) / bytesPerFrame_;
    origin_ = performanceCounter();
    return true;
  }

  bool lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* size1, void** region2,
            uint32_t* size2, uint32_t flags) override {
    return lockRing(ring_, offset, bytes, flags, region1, size1, region2, size2);
  }

  bool unlock(void*, uint32_t, void*, uint32_t) override { return true; }

  bool playLooping() override {
    std::lock_guard<std::mutex> guard(mutex_);
    if (playing_) return true;
    origin_ = performanceCounter();
    playing_ = true;
    return true;
  }

  bool stop() override {
    std::lock_guard<std::mutex> guard(mutex_);
    if (!playing_) return true;
    base_ = frames();
    playing_ = false;
    return true;
  }

 private:
  // Frames played since the ring's start, counted on the performance counter.
  // Called with the mutex held.
  uint64_t frames() const {
    if (!playing_) return base_;
    int64_t elapsed = performanceCounter() - origin_;
    if (elapsed < 0) elapsed = 0;
    // Split to keep the product within 64 bits for long runs.
    uint64_t whole = uint64_t(elapsed / frequency_) * framesPerSecond_;
    uint64_t part = uint64_t(elapsed % frequency_) * framesPerSecond_ / uint64_t(frequency_);
    return base_ + whole + part;
  }

  uint32_t current() {
    uint64_t framesInRing = size() / bytesPerFrame_;
    std::lock_guard<std::mutex> guard(mutex_);
    return uint32_t(frames() % framesInRing) * bytesPerFrame_;
  }

  std::vector<uint8_t> ring_;
  uint32_t bytesPerFrame_;
  uint32_t framesPerSecond_;
  int64_t frequency_;
  std::mutex mutex_;
  bool playing_ = false;
  int64_t origin_ = 0;  // performance counter when playing started
  uint64_t base_ = 0;   // frames played before that
};

}  // namespace

std::unique_ptr<SoundBuffer> createSilentSoundBuffer(uint32_t bytes, const WaveFormat& format) {
  if (bytes == 0) return nullptr;
  return std::make_unique<SilentSoundBuffer>(bytes, format);
}

}  // namespace platform
