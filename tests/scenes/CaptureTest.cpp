// The offline show behind --capture and --screenshot: frames follow the
// virtual clock alone, so the same stretch drawn twice is identical, and the
// frame count matches the song's length.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "SceneFixture.h"
#include "music/TestSongs.h"
#include "shell/OfflineShow.h"
#include "shell/OffscreenTarget.h"

namespace {

// Frames k = first .. last at `fps` of a freshly built show.
std::vector<std::vector<uint8_t>> capture(const std::vector<uint8_t>& song, int fps, int first,
                                          int last) {
  OfflineShow show(song, 0);
  EXPECT_TRUE(show.ok()) << show.error();
  OffscreenTarget target(128, 96);
  EXPECT_TRUE(target.ok()) << target.error();
  std::vector<std::vector<uint8_t>> frames;
  for (int k = 0; k <= last; ++k) {
    target.beginFrame();
    show.drawFrame(double(k) / fps);
    if (k >= first) {
      frames.emplace_back();
      target.read(&frames.back());
    }
  }
  return frames;
}

}  // namespace

TEST_F(SceneTest, TwoCapturesOfTheSameStretchAreIdentical) {
  // One order step lasts 16 ticks (about 0.3 s): the stretch spans scenes.
  const std::vector<uint8_t> song = makeTestSongImage(100, 1);
  const auto a = capture(song, 20, 20, 40);
  const auto b = capture(song, 20, 20, 40);
  ASSERT_EQ(a.size(), 21u);
  ASSERT_EQ(b.size(), a.size());
  for (size_t i = 0; i < a.size(); ++i) EXPECT_TRUE(a[i] == b[i]) << "frame " << 20 + i;
  EXPECT_NE(a.front(), a.back());
}

TEST_F(SceneTest, CaptureLastsTheShowsTwentyThreeOrderSteps) {
  const std::vector<uint8_t> song = makeTestSongImage(100, 1);
  OfflineShow show(song, 0);
  ASSERT_TRUE(show.ok());
  // 23 steps of 16 ticks of 826 frames at 44100 Hz.
  const double length = 23.0 * 16.0 * 826.0 / 44100.0;
  EXPECT_DOUBLE_EQ(show.lengthSeconds(), length);
  for (int fps : {24, 30, 60}) {
    const uint32_t frames = show.frameCount(fps);
    EXPECT_LE(std::fabs(double(frames) / fps - length), 1.0 / fps) << fps << " fps";
    EXPECT_TRUE(show.playing(double(frames - 1) / fps));
    EXPECT_FALSE(show.playing(double(frames) / fps));
  }
  EXPECT_EQ(show.renderSound(nullptr).blocks.size(), 23u * 16u);
}
