// A sound ring that measures what is written into it: the loudest sample of
// each block the streaming pass writes, kept for the last 256 blocks, so the
// player can show the level of the blocks being heard (those written about
// the half-second lead before the last). Everything else goes to the ring
// it wraps.
//
// The measuring runs on the streaming thread between lock and unlock: no
// allocation, no lock; the main thread reads the peaks through atomics.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/SoundDevice.h"

class LevelMeter final : public platform::SoundBuffer {
 public:
  explicit LevelMeter(std::unique_ptr<platform::SoundBuffer> ring) : ring_(std::move(ring)) {}

  // The loudest sample, 0 to 1, of `count` blocks ending `back` blocks
  // before the last one written.
  float peak(uint32_t back, uint32_t count) const;

  uint32_t size() const override { return ring_->size(); }
  bool getCurrentPosition(uint32_t* play, uint32_t* write) override {
    return ring_->getCurrentPosition(play, write);
  }
  bool setCurrentPosition(uint32_t play) override { return ring_->setCurrentPosition(play); }
  bool lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* size1, void** region2,
            uint32_t* size2, uint32_t flags) override;
  bool unlock(void* region1, uint32_t size1, void* region2, uint32_t size2) override;
  bool playLooping() override { return ring_->playLooping(); }
  bool stop() override { return ring_->stop(); }

 private:
  static constexpr uint32_t kHistory = 256;

  std::unique_ptr<platform::SoundBuffer> ring_;
  bool wholeRing_ = false;  // the lock being held clears the ring: no block
  std::atomic<uint32_t> blocks_{0};
  std::atomic<uint16_t> peaks_[kHistory] = {};
};
