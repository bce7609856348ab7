// The streaming pass driven one moment at a time on a scripted ring: budget
// and carry, cursor wrap, blocks across the ring's end, refused locks, the
// heard-tick clock, and precalculated playback.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "ScriptedSoundBuffer.h"
#include "TestSongs.h"
#include "music/SongRenderer.h"
#include "music/SoundOutput.h"
#include "platform/Random.h"
#include "synth/DenormalGuard.h"
#include "synth/Synth.h"

namespace {

constexpr uint32_t kTickBytes = 826 * 4;  // tempo 100

// The offline renderer's bytes for the first `ticks` ticks from position 0.
std::vector<uint8_t> referenceBytes(const Song& song, uint32_t ticks, uint32_t firstTick = 0) {
  Synth synth;
  platform::srand(1);
  RenderedSong rendered = renderSong(synth, song, 0, 64, firstTick + ticks, nullptr);
  std::vector<uint8_t> bytes;
  for (uint32_t i = firstTick; i < firstTick + ticks && i < rendered.blocks.size(); ++i) {
    auto* block = reinterpret_cast<const uint8_t*>(rendered.blocks[i]);
    bytes.insert(bytes.end(), block, block + rendered.framesPerBlock * 4);
  }
  return bytes;
}

bool allZero(const std::vector<uint8_t>& bytes) {
  for (uint8_t b : bytes)
    if (b != 0) return false;
  return true;
}

class StreamingPassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto ring = std::make_unique<ScriptedSoundBuffer>();
    buffer = ring.get();
    output = std::make_unique<SoundOutput>(std::move(ring), synth);
    platform::srand(1);
  }

  void pass() { output->streamingPass(); }

  DenormalGuard denormals;  // as on the streaming thread
  Synth synth;
  std::unique_ptr<Song> song = makeTestSong(100, 1);
  ScriptedSoundBuffer* buffer = nullptr;
  std::unique_ptr<SoundOutput> output;
};

TEST_F(StreamingPassTest, ResyncWritesHalfASecondAndCarriesTheRemainder) {
  output->prepare(*song, 0);
  EXPECT_TRUE(buffer->playing);
  EXPECT_EQ(output->samplesPerTick(), 826u);
  buffer->writeCursor = 1000;
  pass();
  // 88200 bytes of budget: 26 blocks of 3304 bytes, 2296 bytes carried.
  ASSERT_EQ(buffer->locks.size(), 26u);
  for (size_t i = 0; i < buffer->locks.size(); ++i) {
    EXPECT_EQ(buffer->locks[i].offset, 1000 + i * kTickBytes);
    EXPECT_EQ(buffer->locks[i].bytes, kTickBytes);
  }
  EXPECT_EQ(output->player().tickCounter, 26u);

  buffer->writeCursor += kTickBytes - 2296 - 4;
  pass();
  EXPECT_EQ(buffer->locks.size(), 26u) << "the carry plus the advance is one frame short";
  buffer->writeCursor += 4;
  pass();
  ASSERT_EQ(buffer->locks.size(), 27u);
  EXPECT_EQ(buffer->locks.back().offset, 1000 + 26 * kTickBytes);
}

TEST_F(StreamingPassTest, WrappedWriteCursorAddsTheWrappedDistance) {
  output->prepare(*song, 0);
  const uint32_t size = buffer->size();
  buffer->writeCursor = size - 1000;
  pass();
  ASSERT_EQ(buffer->locks.size(), 26u);
  // 1000 bytes to the end plus 2304 from the start: one more tick with the
  // 2296 carried (5600 bytes), not a huge unsigned difference.
  buffer->writeCursor = 2304;
  pass();
  EXPECT_EQ(buffer->locks.size(), 27u);
  buffer->writeCursor = 2304 + 1007;
  pass();
  EXPECT_EQ(buffer->locks.size(), 27u);
}

TEST_F(StreamingPassTest, BlockAcrossTheRingEndIsSplitAndContinuesSeamlessly) {
  output->prepare(*song, 0);
  const uint32_t size = buffer->size();
  const uint32_t start = size - 3 * kTickBytes - 1000;
  buffer->writeCursor = start;
  pass();
  ASSERT_EQ(buffer->locks.size(), 26u);
  EXPECT_EQ(buffer->locks[3].size1, 1000u);
  EXPECT_EQ(buffer->locks[3].size2, kTickBytes - 1000);
  EXPECT_EQ(buffer->locks[4].offset, kTickBytes - 1000);

  std::vector<uint8_t> written = buffer->bytesAt(start, 26 * kTickBytes);
  std::vector<uint8_t> expected = referenceBytes(*song, 26);
  ASSERT_EQ(written.size(), expected.size());
  EXPECT_FALSE(allZero(expected)) << "the test song must sound";
  EXPECT_TRUE(written == expected) << "the ring holds the offline renderer's blocks";
}

TEST_F(StreamingPassTest, RefusedLockDropsTheTickAndResyncs) {
  output->prepare(*song, 0);
  buffer->failingLocks = 1;
  buffer->writeCursor = 0;
  pass();
  EXPECT_TRUE(buffer->locks.empty());
  EXPECT_EQ(output->player().tickCounter, 1u) << "the tick was sequenced and dropped";

  buffer->writeCursor = 5000;
  pass();
  ASSERT_EQ(buffer->locks.size(), 26u);
  EXPECT_EQ(buffer->locks.front().offset, 5000u) << "restarted at the write cursor";
  EXPECT_EQ(output->player().tickCounter, 27u);
  EXPECT_TRUE(buffer->bytesAt(5000, 25 * kTickBytes) == referenceBytes(*song, 25, 1));
}

TEST_F(StreamingPassTest, HeardTicksLagHalfASecondAndStartAtZero) {
  EXPECT_EQ(SoundOutput::heardTicksFor(0, 826), 0u);
  EXPECT_EQ(SoundOutput::heardTicksFor(26, 826), 0u);
  EXPECT_EQ(SoundOutput::heardTicksFor(27, 826), 0u);
  EXPECT_EQ(SoundOutput::heardTicksFor(28, 826), 1u);
  EXPECT_EQ(SoundOutput::heardTicksFor(100, 826), 73u);
  EXPECT_EQ(SoundOutput::heardTicksFor(5, 0), 0u);

  output->prepare(*song, 0);
  buffer->writeCursor = 0;
  pass();
  EXPECT_EQ(output->heardTicks(), 0u);
  // 74 more ticks: 100 sequenced, 73 heard.
  buffer->writeCursor = 74 * kTickBytes - 2296;
  pass();
  EXPECT_EQ(output->player().tickCounter, 100u);
  EXPECT_EQ(output->heardTicks(), 73u);
  EXPECT_EQ(output->heard().steps, 73u / 16);
}

TEST_F(StreamingPassTest, RestartResetsThePlayerAndTheClock) {
  output->prepare(*song, 0);
  pass();
  buffer->writeCursor = 80 * kTickBytes;
  pass();
  EXPECT_GT(output->heardTicks(), 0u);
  output->prepare(*song, 3);
  EXPECT_EQ(output->heardTicks(), 0u);
  EXPECT_EQ(output->player().tickCounter, 0u);
  EXPECT_EQ(output->player().orderPosition, 3u);
}

TEST_F(StreamingPassTest, FailedPlayIsReportedAndStreamingGoesOn) {
  buffer->playSucceeds = false;
  testing::internal::CaptureStderr();
  output->prepare(*song, 0);
  std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("Could not play buffer!"), std::string::npos) << errors;
  EXPECT_NE(errors.find("Error!"), std::string::npos) << errors;
  pass();
  EXPECT_EQ(buffer->locks.size(), 26u);
  pass();
  EXPECT_EQ(buffer->locks.size(), 26u) << "a cursor that never moves grants no more budget";
  EXPECT_EQ(output->heardTicks(), 0u);
}

class PrecalculatedPassTest : public StreamingPassTest {};

TEST_F(PrecalculatedPassTest, StoredBlocksPlayThenSilenceWhileTheClockRuns) {
  output->precalculate(*song, 0, 2, false, 32768, nullptr, nullptr);
  ASSERT_TRUE(output->precalculated());
  ASSERT_EQ(output->blockCount(), 17u);  // one step of 16 ticks plus one
  output->prepare(*song, 0);
  buffer->writeCursor = 0;
  pass();
  ASSERT_EQ(buffer->locks.size(), 26u);
  EXPECT_TRUE(buffer->bytesAt(0, 17 * kTickBytes) == referenceBytes(*song, 17));
  EXPECT_TRUE(allZero(buffer->bytesAt(17 * kTickBytes, 9 * kTickBytes)));

  uint32_t before = output->heardTicks();
  buffer->writeCursor = 60 * kTickBytes - 2296;
  pass();
  EXPECT_EQ(buffer->locks.size(), 86u);
  EXPECT_GT(output->heardTicks(), before);
  // The block index stands in for the tick counter: index 85 is the last.
  EXPECT_EQ(output->heardTicks(), SoundOutput::heardTicksFor(85, 826));
}

TEST_F(PrecalculatedPassTest, StartPositionPicksItsBlock) {
  output->precalculate(*song, 0, 4, false, 32768, nullptr, nullptr);
  ASSERT_EQ(output->blockCount(), 3u * 16 + 1);
  output->prepare(*song, 2);
  buffer->writeCursor = 0;
  pass();
  EXPECT_TRUE(buffer->bytesAt(0, 17 * kTickBytes) == referenceBytes(*song, 17, 32));
  EXPECT_EQ(output->heardTicks(), 0u) << "the clock counts from the start position";
}

struct Progress {
  std::vector<float> fractions;
  static void record(void* argument, float fraction) {
    static_cast<Progress*>(argument)->fractions.push_back(fraction);
  }
};

TEST(Precalculation, RendersEveryStepUpToTheEndAndReportsProgress) {
  Synth synth;
  auto song = makeTestSong(255, 1);  // 324 frames per tick, 16 ticks per step
  SoundOutput output(std::make_unique<ScriptedSoundBuffer>(), synth);
  Progress progress;
  output.precalculate(*song, 0, 32, true, 32768, &Progress::record, &progress);
  EXPECT_EQ(output.blockCount(), 31u * 16 + 1);
  EXPECT_EQ(output.samplesPerTick(), 324u);
  ASSERT_EQ(progress.fractions.size(), (31u * 16 + 1) / 70);
  EXPECT_FLOAT_EQ(progress.fractions.front(), 70.0f / (16.0f * 31.0f));
  for (float f : progress.fractions) EXPECT_LE(f, 1.0f);
}

TEST(Precalculation, FullTableShowsTheMessageAndKeepsWhatItHas) {
  Synth synth;
  auto song = makeTestSong(255, 1);
  SoundOutput output(std::make_unique<ScriptedSoundBuffer>(), synth);
  testing::internal::CaptureStderr();
  output.precalculate(*song, 0, 32, false, 100, nullptr, nullptr);
  std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("Mes!"), std::string::npos) << errors;
  EXPECT_NE(errors.find("Öka maxframes i precalc din fjant"), std::string::npos) << errors;
  EXPECT_EQ(output.blockCount(), 100u);
}

TEST(Precalculation, NoTotalMeansNoPercentage) {
  Synth synth;
  auto song = makeTestSong(255, 1);
  SoundOutput output(std::make_unique<ScriptedSoundBuffer>(), synth);
  Progress progress;
  output.precalculate(*song, 0, 1, false, 32768, &Progress::record, &progress);
  EXPECT_EQ(output.blockCount(), 1u);
  EXPECT_TRUE(progress.fractions.empty());
}

}  // namespace
