// The two-region lock of a looping sound buffer, on the DirectSound backend
// (run under Wine) and on the silent ring every backend falls back to.
//
// A block written at a position where it crosses the end of the ring comes
// back as a region up to the end and a region from the start; the frames must
// continue seamlessly from the one into the other. Real cursors seldom land a
// block exactly there, so the test puts it there. GoogleTest is not built for
// mingw, hence a small self-contained runner.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/SoundDevice.h"

namespace {

int passed = 0;
int failed = 0;

void check(bool ok, const std::string& what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAILED: %s\n", what.c_str());
  }
}

constexpr uint32_t kRingBytes = 352800;  // two seconds
constexpr uint32_t kTickBytes = 826 * 4;
constexpr uint32_t kFrameBytes = 4;

int16_t leftOf(uint32_t frame) { return int16_t(frame * 7 + 1); }
int16_t rightOf(uint32_t frame) { return int16_t(-int32_t(frame * 5) - 2); }

// Writes whole frames into the first region, then the second, as the
// streaming pass does; a region shorter than a frame is skipped.
uint32_t writeFrames(void* region1, uint32_t size1, void* region2, uint32_t size2,
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

bool framesAt(const uint8_t* ring, uint32_t offset, uint32_t firstFrame, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    int16_t sample[2];
    std::memcpy(sample, ring + offset + i * kFrameBytes, sizeof sample);
    if (sample[0] != leftOf(firstFrame + i) || sample[1] != rightOf(firstFrame + i)) return false;
  }
  return true;
}

// A tick written so that it crosses the ring's end, read back through a lock
// of the whole ring.
void blockAcrossTheEnd(platform::SoundBuffer& ring, const char* name) {
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
void cursorsLoop(platform::SoundBuffer& ring, const char* name) {
  std::string prefix = std::string(name) + ": ";
  check(ring.setCurrentPosition(0), prefix + "set the play cursor to 0");
  check(ring.playLooping(), prefix + "play looping");
  uint32_t play = 0;
  uint32_t write = 0;
  uint32_t previous = 0;
  uint64_t travelled = 0;
  bool wrapped = false;
  bool writeAhead = true;
  int64_t start = platform::performanceCounter();
  // A little over one trip round the two-second ring.
  for (int i = 0; i < 230; ++i) {
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
  double seconds = double(platform::performanceCounter() - start) /
                   double(platform::performanceFrequency());
  double rate = double(travelled) / seconds / kFrameBytes;
  check(wrapped, prefix + "the play cursor wraps round the ring");
  check(writeAhead, prefix + "the write cursor stays a little ahead of the play cursor");
  char text[96];
  std::snprintf(text, sizeof text, "cursors advance at the real-time rate (%.0f frames/s)", rate);
  check(rate > 44100 * 0.8 && rate < 44100 * 1.2, prefix + text);
  std::printf("%s%s\n", prefix.c_str(), text);
  check(ring.stop(), prefix + "stop");
  ring.getCurrentPosition(&previous, nullptr);
  platform::sleepMilliseconds(100);
  ring.getCurrentPosition(&play, nullptr);
  check(play == previous, prefix + "a stopped ring's cursor stands still");
}

}  // namespace

int main() {
  const platform::WaveFormat format;

  std::unique_ptr<platform::SoundBuffer> silent =
      platform::createSilentSoundBuffer(kRingBytes, format);
  check(silent != nullptr, "silent ring created");
  if (silent) blockAcrossTheEnd(*silent, "silent");

  std::string error;
  std::unique_ptr<platform::SoundDevice> device = platform::createSoundDevice(&error);
  check(device != nullptr, "open the sound device: " + error);
  if (device) {
    check(device->setCooperativeLevel(nullptr), "cooperative level");
    std::unique_ptr<platform::SoundBuffer> ring = device->createBuffer(kRingBytes, format, &error);
    check(ring != nullptr, "create the looping buffer: " + error);
    check(platform::audioDriverName() == "dsound",
          "driver name " + platform::audioDriverName());
    if (ring) {
      blockAcrossTheEnd(*ring, platform::audioDriverName().c_str());
      cursorsLoop(*ring, platform::audioDriverName().c_str());
    }
    ring.reset();
    device.reset();
    check(platform::audioDriverName() == "silent", "driver name after closing");
  }

  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
