// The music system through a real song image: loading, the clock questions
// while playing, the virtual clock of offline drawing, and shut-down.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "TestSongs.h"
#include "music/MusicSystem.h"
#include "music/SoundOutput.h"
#include "synth/Song.h"

namespace {

TEST(MusicSystem, DamagedSongIsRefusedAndShutsDownCleanly) {
  std::vector<uint8_t> image = makeTestSongImage();
  image.resize(image.size() / 2);
  MusicSystem music;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(music.init(image.data(), image.size(), nullptr, false, 32, nullptr, nullptr));
  std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("Could not load song!"), std::string::npos) << errors;
  EXPECT_EQ(music.soundOutput(), nullptr);
  music.start(0);  // nothing to start; must not crash
  EXPECT_EQ(music.songPosition(), 0);
}

TEST(MusicSystem, NeverStartedShutsDownCleanly) {
  std::vector<uint8_t> image = makeTestSongImage();
  MusicSystem music;
  ASSERT_TRUE(music.init(image.data(), image.size(), nullptr, false, 32, nullptr, nullptr));
  EXPECT_EQ(music.songPosition(), 0);
  EXPECT_EQ(music.beat(), 0);
}

TEST(MusicSystem, ClockFollowsWhatIsHeard) {
  std::vector<uint8_t> image = makeTestSongImage(100, 1);  // 16 ticks of 826 frames per step
  MusicSystem music;
  ASSERT_TRUE(music.init(image.data(), image.size(), nullptr, false, 32, nullptr, nullptr));
  music.start(3);
  const double afterStart = music.seconds();
  EXPECT_GE(afterStart, 0.49);
  EXPECT_LT(afterStart, 0.8);
  EXPECT_LE(music.songPosition(), 4) << "half a second in, about 26 ticks are heard";
  EXPECT_GE(music.songPosition(), 3);

  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  const uint32_t heard = music.soundOutput()->heardTicks();
  const int position = music.songPosition();
  EXPECT_GE(position, 3 + int(heard / 16));  // it only grows
  EXPECT_GE(position, 5);
  EXPECT_GE(music.beat(), int(heard >> 2));
  // The live clock and its offline model agree within a few ticks.
  const double seconds = music.seconds();
  const double modelled = double(music.heardTicksAt(seconds));
  EXPECT_NEAR(double(music.soundOutput()->heardTicks()), modelled, modelled * 0.1 + 6);
}

TEST(MusicSystem, HeardTicksAtModelsTheLiveClock) {
  std::vector<uint8_t> image = makeTestSongImage(100, 1);
  MusicSystem music;
  ASSERT_TRUE(music.init(image.data(), image.size(), nullptr, false, 32, nullptr, nullptr));
  // Before the lead is covered nothing is heard.
  EXPECT_EQ(music.heardTicksAt(0.0), 0u);
  // 10 s in: (88200 + 441000 x 4) / 3304 = 560 ticks written, 533 heard.
  EXPECT_EQ(music.heardTicksAt(10.0), SoundOutput::heardTicksFor(560, 826));
  uint32_t previous = 0;
  for (double t = 0.0; t < 5.0; t += 0.013) {
    uint32_t now = music.heardTicksAt(t);
    EXPECT_GE(now, previous);
    previous = now;
  }
}

TEST(MusicSystem, PrecalculatedShowPlaysTheStoredBlocks) {
  std::vector<uint8_t> image = makeTestSongImage(255, 1);
  MusicSystem music;
  ASSERT_TRUE(music.init(image.data(), image.size(), nullptr, true, 4, nullptr, nullptr));
  ASSERT_TRUE(music.soundOutput()->precalculated());
  EXPECT_EQ(music.soundOutput()->blockCount(), 3u * 16 + 1);
  music.start(0);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_GT(music.soundOutput()->heardTicks(), 0u);
}

}  // namespace
