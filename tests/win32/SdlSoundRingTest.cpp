// The two-region lock of the looping sound ring on Linux: the SDL ring (on
// SDL's dummy driver, which plays at the real-time rate) and the silent
// fallback, held to the same checks as DirectSound under Wine.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "win32/SoundRingChecks.h"

void soundring::check(bool ok, const std::string& what) { EXPECT_TRUE(ok) << what; }

namespace {

constexpr uint32_t kRingBytes = soundring::kRingBytes;

TEST(SoundRing, SilentRingSplitsABlockAcrossTheEnd) {
  auto ring = platform::createSilentSoundBuffer(kRingBytes, platform::WaveFormat{});
  ASSERT_NE(ring, nullptr);
  soundring::blockAcrossTheEnd(*ring, "silent");
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
