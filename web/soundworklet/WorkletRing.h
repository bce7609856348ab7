// The sound buffer of the page's sound worklet: a looping ring in the
// program's memory that the worklet's processor plays render quantum by
// render quantum from the play cursor, round and round, as DirectSound plays
// its buffer. The write cursor is the play cursor: what a quantum has taken
// is the device's, everything after it may be written.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/SoundDevice.h"

class WorkletRing final : public platform::SoundBuffer {
 public:
  explicit WorkletRing(uint32_t bytes);

  uint32_t size() const override { return uint32_t(ring_.size()); }
  bool getCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) override;
  bool setCurrentPosition(uint32_t playCursor) override;
  bool lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* size1, void** region2,
            uint32_t* size2, uint32_t flags) override;
  bool unlock(void*, uint32_t, void*, uint32_t) override { return true; }
  bool playLooping() override;
  bool stop() override;

  // Plays `frames` frames into left and right as floats (sample / 32768,
  // which Web Audio carries exactly) and moves the play cursor past them;
  // silence while stopped.
  void play(float* left, float* right, int frames);

 private:
  static constexpr uint32_t kBytesPerFrame = 4;

  std::vector<uint8_t> ring_;
  uint32_t cursor_ = 0;
  bool playing_ = false;
};
