// Checks of a looping sound ring's lock, shared by the DirectSound test
// (a plain program under Wine) and the SDL ring's GoogleTest on Linux: the
// same expectations on every backend.
//
// A tick written where it crosses the end of the ring comes back as a region
// up to the end and a region from the start; the frames must continue
// seamlessly from the one into the other. Real cursors seldom land a block
// exactly there, so the checks put it there. Each check reports through
// `check(ok, what)`, which the runner supplies.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Clock.h"
#include "platform/SoundDevice.h"

namespace soundring {

// Supplied by the runner: counts or asserts.
void check(bool ok, const std::string& what);


constexpr uint32_t kRingBytes = 352800;  // two seconds
constexpr uint32_t kTickBytes = 826 * 4;
constexpr uint32_t kFrameBytes = 4;

inline int16_t leftOf(uint32_t frame) { return int16_t(frame * 7 + 1); }
inline int16_t rightOf(uint32_t frame) { return int16_t(-int32_t(frame * 5) - 2); }

// Writes whole frames into the first region, then the second, as the
// streaming pass does; a region shorter than a frame is skipped.
inline uint32_t writeFrames(void* region1, uint32_t size1, void* region2, uint32_t size2,
                     uint32_t frames) {
  uint32_t frame = 0;
  void* regions[2] = {region1, region2};
  uint32_t sizes[2] = {size1, size2};
  for (int r = 0; r < 2; ++r) {
    if (!regions[r] || sizes[r] < kFrameBytes) continue;
    auto* out = static_cast<int16_t*>(regions[r]);
    for (uint32_t i = 0; i < sizes[r] / kFrameBytes && frame < frames; ++i, ++frame) {
      out[2 * i] = leftOf(frame);
      out[2 * i + 1] = rightOf(frame);
    }
  }
  return frame;
}

inline bool framesAt(const uint8_t* ring, uint32_t offset, uint32_t firstFrame, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    int16_t sample[2];
    std::memcpy(sample, ring + offset + i * kFrameBytes, sizeof sample);
    if (sample[0] != leftOf(firstFrame + i) || sample[1] != rightOf(firstFrame + i)) return false;
  }
  return true;
}

// A tick written so that it crosses the ring's end, read back through a lock
// of the whole ring.
inline void blockAcrossTheEnd(platform::SoundBuffer& ring, const char* name) {
  std::string prefix = std::string(name) + ": ";
  check(ring.size() == kRingBytes, prefix + "ring size " + std::to_string(ring.size()));
  if (ring.size() != kRingBytes) return;

  void* p1 = nullptr;
  void* p2 = nullptr;
  uint32_t s1 = 0;
  uint32_t s2 = 0;
  check(ring.lock(0, 0, &p1, &s1, &p2, &s2, platform::kLockEntireBuffer),
        prefix + "lock the whole ring");
  check(p1 && s1 == kRingBytes && s2 == 0, prefix + "whole ring is one region");
  if (p1) std::memset(p1, 0, s1);
  ring.unlock(p1, s1, p2, s2);

  const uint32_t tail = 1000;  // bytes left before the end: 250 frames
  const uint32_t offset = kRingBytes - tail;
  bool locked = ring.lock(offset, kTickBytes, &p1, &s1, &p2, &s2, 0);
  check(locked, prefix + "lock a tick across the end");
  if (!locked) return;
  check(s1 == tail, prefix + "first region runs to the end (" + std::to_string(s1) + ")");
  check(p2 != nullptr && s2 == kTickBytes - tail,
        prefix + "second region holds the rest (" + std::to_string(s2) + ")");
  uint32_t written = writeFrames(p1, s1, p2, s2, kTickBytes / kFrameBytes);
  check(written == kTickBytes / kFrameBytes, prefix + "every frame of the tick fits");
  check(ring.unlock(p1, s1, p2, s2), prefix + "unlock both regions");

  check(ring.lock(0, 0, &p1, &s1, &p2, &s2, platform::kLockEntireBuffer),
        prefix + "lock the whole ring again");
  if (!p1 || s1 != kRingBytes) return;
  auto* bytes = static_cast<const uint8_t*>(p1);
  const uint32_t headFrames = tail / kFrameBytes;
  check(framesAt(bytes, offset, 0, headFrames), prefix + "the tick's start sits at the ring's end");
  check(framesAt(bytes, 0, headFrames, (kTickBytes - tail) / kFrameBytes),
        prefix + "the tick continues at the ring's start");
  uint8_t after[4];
  std::memcpy(after, bytes + (kTickBytes - tail), sizeof after);
  check(after[0] == 0 && after[1] == 0 && after[2] == 0 && after[3] == 0,
        prefix + "nothing written beyond the tick");
  ring.unlock(p1, s1, p2, s2);
}

// Playing round and round: the cursors advance at about the real-time rate
// and the play cursor wraps from the end to the start.
inline void cursorsLoop(platform::SoundBuffer& ring, const char* name) {
  std::string prefix = std::string(name) + ": ";
  check(ring.setCurrentPosition(0), prefix + "set the play cursor to 0");
  check(ring.playLooping(), prefix + "play looping");
  uint32_t play = 0;
  uint32_t write = 0;
  uint32_t previous = 0;
  uint64_t travelled = 0;
  bool wrapped = false;
  bool writeAhead = true;
  const int64_t start = platform::performanceCounter();
  auto secondsSince = [](int64_t from) {
    return double(platform::performanceCounter() - from) / double(platform::performanceFrequency());
  };
  // One trip round the two-second ring: two seconds at the real-time rate, longer
  // when a busy machine holds Wine's mixer thread back (over three seconds
  // in one run).
  while (!wrapped && secondsSince(start) < 10.0) {
    platform::sleepMilliseconds(10);
    if (!ring.getCurrentPosition(&play, &write)) {
      check(false, prefix + "read the cursors");
      break;
    }
    if (play < previous) wrapped = true;
    travelled += play >= previous ? play - previous : kRingBytes - previous + play;
    uint32_t lead = write >= play ? write - play : kRingBytes - play + write;
    if (lead > kRingBytes / 2) writeAhead = false;
    previous = play;
  }
  const double rate = double(travelled) / secondsSince(start) / kFrameBytes;
  check(wrapped, prefix + "the play cursor wraps round the ring");
  check(writeAhead, prefix + "the write cursor stays a little ahead of the play cursor");
  char text[96];
  std::snprintf(text, sizeof text, "cursors advance at the real-time rate (%.0f frames/s)", rate);
  // Wide margins: on a busy machine Wine's mixer thread falls behind (to
  // 0.64 of the rate in one run). What this catches is a ring that stands
  // still or runs at another sample rate.
  check(rate > 44100 * 0.5 && rate < 44100 * 1.5, prefix + text);
  std::printf("%s%s\n", prefix.c_str(), text);
  check(ring.stop(), prefix + "stop");
  ring.getCurrentPosition(&previous, nullptr);
  platform::sleepMilliseconds(100);
  ring.getCurrentPosition(&play, nullptr);
  check(play == previous, prefix + "a stopped ring's cursor stands still");
}

}  // namespace soundring
