// The two-region lock of the looping sound ring on Linux: the SDL ring (on
// SDL's dummy driver, which plays at the real-time rate) and the silent
// fallback, held to the same checks as DirectSound under Wine.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <thread>

#include "platform/sdl/SdlSoundDevice.h"
#include "win32/SoundRingChecks.h"

void soundring::check(bool ok, const std::string& what) { EXPECT_TRUE(ok) << what; }

namespace {

constexpr uint32_t kRingBytes = soundring::kRingBytes;

TEST(SoundRing, SilentRingSplitsABlockAcrossTheEnd) {
  auto ring = platform::createSilentSoundBuffer(kRingBytes, platform::WaveFormat{});
  ASSERT_NE(ring, nullptr);
  soundring::blockAcrossTheEnd(*ring, "silent");
}

// The streaming thread reads the cursors while the main thread stops the
// ring. A read that overlaps the stop must give the cursor before or after
// it: one that went back would make the next pass fill most of the ring.
TEST(SoundRing, SilentRingStoppedUnderAReaderNeverGoesBack) {
  auto ring = platform::createSilentSoundBuffer(kRingBytes, platform::WaveFormat{});
  ASSERT_NE(ring, nullptr);
  for (int round = 0; round < 100; ++round) {
    ASSERT_TRUE(ring->setCurrentPosition(0));
    ASSERT_TRUE(ring->playLooping());
    std::atomic<bool> stopped{false};
    uint32_t backwards = 0;
    uint32_t lastRead = 0;
    std::thread reader([&] {
      uint32_t previous = 0;
      // Keeps reading a while after the stop, to see where the cursor stays.
      for (int after = 0; after < 1000; after += stopped.load() ? 1 : 0) {
        uint32_t play = 0;
        uint32_t write = 0;
        ring->getCurrentPosition(&play, &write);
        if (play < previous || write != play) ++backwards;
        previous = play;
      }
      lastRead = previous;
    });
    platform::sleepMilliseconds(1);
    ASSERT_TRUE(ring->stop());
    uint32_t atStop = 0;
    ring->getCurrentPosition(&atStop, nullptr);
    stopped.store(true);
    reader.join();
    EXPECT_EQ(backwards, 0u) << "round " << round;
    EXPECT_EQ(lastRead, atStop) << "round " << round;
    EXPECT_LT(atStop, kRingBytes / 2) << "round " << round;  // a few milliseconds played
  }
}

TEST(SoundRing, DeviceRingSplitsABlockAcrossTheEndAndLoops) {
  auto device = platform::createSoundDevice();
  EXPECT_TRUE(device->setCooperativeLevel(nullptr));
  auto ring = device->createBuffer(kRingBytes, platform::WaveFormat{});
  const std::string driver = platform::audioDriverName();
  soundring::blockAcrossTheEnd(*ring, driver.c_str());
  soundring::cursorsLoop(*ring, driver.c_str());
}

// The song clock counts from the write cursor, so the device's cursors must
// move with what is heard: on SDL's disk driver (a real device that plays
// into a file in real time), the play cursor moves through each period as
// it plays instead of a period at a time, the write cursor stays the same two
// periods ahead (a period beyond what the device has taken), neither ever
// goes back, and both stand still once stopped.
TEST(SoundRing, DeviceCursorsFollowThePlayingSoundSmoothly) {
  const std::string played = "/tmp/kyl-ring-played-" + std::to_string(getpid());
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", played.c_str(), 1);
  auto device = platform::createSoundDevice();
  auto ring = device->createBuffer(kRingBytes, platform::WaveFormat{});
  const uint32_t period = platform::sdl::devicePeriodFrames() * soundring::kFrameBytes;
  ASSERT_GT(period, 0u);
  ASSERT_TRUE(ring->setCurrentPosition(0));
  ASSERT_TRUE(ring->playLooping());

  uint32_t previous = 0;
  uint32_t moved = 0;
  std::set<uint32_t> withinPeriods;
  for (int i = 0; i < 300; ++i) {
    uint32_t play = 0, write = 0;
    ASSERT_TRUE(ring->getCurrentPosition(&play, &write));
    ASSERT_EQ((write + kRingBytes - play) % kRingBytes, 2 * period) << "reading " << i;
    const uint32_t step = (play + kRingBytes - previous) % kRingBytes;
    ASSERT_LT(step, kRingBytes / 2) << "the play cursor went back at reading " << i;
    moved += step;
    previous = play;
    withinPeriods.insert(play % period);
    platform::sleepMilliseconds(1);
  }
  // 300 readings a millisecond or more apart: about half a second of sound.
  EXPECT_GT(moved, 176400u / 10);
  EXPECT_GT(withinPeriods.size(), 10u) << "the play cursor moves a period at a time";

  ASSERT_TRUE(ring->stop());
  uint32_t stoppedPlay = 0, stoppedWrite = 0;
  ring->getCurrentPosition(&stoppedPlay, &stoppedWrite);
  EXPECT_LT((stoppedPlay + kRingBytes - previous) % kRingBytes, kRingBytes / 2);
  platform::sleepMilliseconds(50);
  uint32_t laterPlay = 0, laterWrite = 0;
  ring->getCurrentPosition(&laterPlay, &laterWrite);
  EXPECT_EQ(laterPlay, stoppedPlay);
  EXPECT_EQ(laterWrite, stoppedWrite);
  ring.reset();
  device.reset();
  std::remove(played.c_str());
}

}  // namespace
