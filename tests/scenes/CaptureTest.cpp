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
#include "shell/ShellError.h"

namespace {

// Frames k = first .. last at `fps` of a freshly built show.
std::vector<std::vector<uint8_t>> capture(const std::vector<uint8_t>& song, int fps, int first,
                                          int last) {
  OfflineShow show(song, 0);
  OffscreenTarget target(128, 96);
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

// The same show with only the frames in `kept` drawn; the others are drawn
// with their pixels discarded, as a screenshot draws the frames before its
// moment. The kept frames, in order.
std::vector<std::vector<uint8_t>> captureSome(const std::vector<uint8_t>& song, int fps,
                                              const std::vector<int>& kept) {
  OfflineShow show(song, 0);
  OffscreenTarget target(128, 96);
  std::vector<std::vector<uint8_t>> frames;
  size_t next = 0;
  for (int k = 0; next < kept.size(); ++k) {
    const bool keep = k == kept[next];
    if (keep) {
      target.beginFrame();
    } else {
      target.beginDiscardedFrame();
    }
    show.drawFrame(double(k) / fps);
    if (keep) {
      frames.emplace_back();
      target.read(&frames.back());
      ++next;
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

TEST_F(SceneTest, FramesAfterDiscardedOnesAreTheFramesDrawnInFull) {
  // Every scene, the animated mesh and the random draws of the photo and
  // scroller scenes included, must leave the same state whether its frames
  // were drawn or discarded.
  const std::vector<uint8_t> song = makeTestSongImage(100, 1);
  OfflineShow probe(song, 0);
  const int frames = int(probe.frameCount(20));
  std::vector<int> kept;
  for (int k = 7; k < frames; k += 9) kept.push_back(k);
  const auto full = capture(song, 20, 0, kept.back());
  const auto some = captureSome(song, 20, kept);
  ASSERT_EQ(some.size(), kept.size());
  for (size_t i = 0; i < kept.size(); ++i)
    EXPECT_TRUE(some[i] == full[size_t(kept[i])]) << "frame " << kept[i];
}

TEST_F(SceneTest, ADiscardedFrameLeavesThePictureAlone) {
  const std::vector<uint8_t> song = makeTestSongImage(100, 1);
  OfflineShow show(song, 0);
  OffscreenTarget target(128, 96);
  std::vector<uint8_t> drawn, after;
  target.beginFrame();
  show.drawFrame(0.5);
  target.read(&drawn);
  target.beginDiscardedFrame();
  show.drawFrame(1.5);
  target.read(&after);
  EXPECT_TRUE(after == drawn);
  // The next frame is drawn again.
  target.beginFrame();
  show.drawFrame(2.5);
  target.read(&after);
  EXPECT_FALSE(after == drawn);
}

TEST_F(SceneTest, AnImpossibleTargetSizeIsRefusedWithTheReason) {
  try {
    OffscreenTarget target(0, 480);
    FAIL() << "a 0x480 target was made";
  } catch (const ShellError& e) {
    EXPECT_STREQ(e.what(), "the frame size must be between 1x1 and 8192x8192");
  }
}
