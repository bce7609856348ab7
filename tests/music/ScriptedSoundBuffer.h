// A sound ring whose cursors the test sets by hand, so that the streaming
// pass can be driven one moment at a time: where the device's write cursor
// is, whether a lock is refused, what was locked.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/SoundDevice.h"

class ScriptedSoundBuffer : public platform::SoundBuffer {
 public:
  struct Lock {
    uint32_t offset;
    uint32_t bytes;
    uint32_t size1;
    uint32_t size2;
  };

  explicit ScriptedSoundBuffer(uint32_t bytes = 352800) : ring(bytes, 0x55) {}

  uint32_t size() const override { return uint32_t(ring.size()); }
  bool getCurrentPosition(uint32_t* play, uint32_t* write) override {
    if (play) *play = writeCursor;
    if (write) *write = writeCursor;
    return true;
  }
  bool setCurrentPosition(uint32_t position) override {
    writeCursor = position;
    return true;
  }
  bool lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* size1, void** region2,
            uint32_t* size2, uint32_t flags) override {
    if (flags & platform::kLockEntireBuffer) {
      offset = 0;
      bytes = size();
    } else if (failingLocks > 0) {
      --failingLocks;
      return false;
    }
    uint32_t first = std::min(bytes, size() - offset);
    *region1 = ring.data() + offset;
    *size1 = first;
    *region2 = first < bytes ? ring.data() : nullptr;
    *size2 = bytes - first;
    if (!(flags & platform::kLockEntireBuffer)) locks.push_back({offset, bytes, first, bytes - first});
    return true;
  }
  bool unlock(void*, uint32_t, void*, uint32_t) override { return true; }
  bool playLooping() override {
    playing = true;
    return playSucceeds;
  }
  bool stop() override {
    playing = false;
    ++stops;
    return true;
  }

  // The ring's bytes from offset on, wrapping at its end.
  std::vector<uint8_t> bytesAt(uint32_t offset, uint32_t count) const {
    std::vector<uint8_t> out(count);
    for (uint32_t i = 0; i < count; ++i) out[i] = ring[(offset + i) % ring.size()];
    return out;
  }

  std::vector<uint8_t> ring;
  uint32_t writeCursor = 0;
  int failingLocks = 0;  // the next this many tick locks are refused
  bool playing = false;
  int stops = 0;  // calls of stop()
  bool playSucceeds = true;
  std::vector<Lock> locks;
};
