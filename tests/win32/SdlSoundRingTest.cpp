// The two-region lock of the looping sound ring on Linux: the SDL ring (on
// SDL's dummy driver, which plays at the real-time rate) and the silent
// fallback, held to the same checks as DirectSound under Wine.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

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
  std::string error;
  auto device = platform::createSoundDevice(&error);
  ASSERT_NE(device, nullptr) << error;
  EXPECT_TRUE(device->setCooperativeLevel(nullptr));
  auto ring = device->createBuffer(kRingBytes, platform::WaveFormat{}, &error);
  ASSERT_NE(ring, nullptr) << error;
  const std::string driver = platform::audioDriverName();
  soundring::blockAcrossTheEnd(*ring, driver.c_str());
  soundring::cursorsLoop(*ring, driver.c_str());
}

}  // namespace
