// The streaming thread: start, stop, the real SDL device (dummy and disk
// drivers), and the silent fallback when no device opens.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "ScriptedSoundBuffer.h"
#include "TestSongs.h"
#include "music/SongRenderer.h"
#include "music/SoundOutput.h"
#include "platform/Clock.h"
#include "platform/SoundDevice.h"
#include "synth/Synth.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t) {
  return std::chrono::duration<double>(Clock::now() - t).count();
}

TEST(SoundOutputThread, StopRightAfterStartStillRunsOnePass) {
  Synth synth;
  auto song = makeTestSong(100, 1);
  auto ring = std::make_unique<ScriptedSoundBuffer>();
  ScriptedSoundBuffer* buffer = ring.get();
  SoundOutput output(std::move(ring), synth);
  output.start(*song, 0, 0);
  output.stop();
  EXPECT_EQ(buffer->locks.size(), 26u);
  EXPECT_FALSE(buffer->playing);
}

// Threads of this process now.
size_t threadCount() {
  size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    (void)entry;
    ++count;
  }
  return count;
}

// "Safe": a stop without a start runs no pass, stops no ring and leaves no
// thread; after a start the first stop ends and joins the streaming thread,
// and a second one changes nothing. Every call returns (a hang here ends in
// ctest's time limit).
TEST(SoundOutputThread, StopIsSafeWithoutStartAndTwice) {
  Synth synth;
  auto song = makeTestSong(100, 1);
  auto ring = std::make_unique<ScriptedSoundBuffer>();
  ScriptedSoundBuffer* buffer = ring.get();
  SoundOutput output(std::move(ring), synth);
  // ThreadSanitizer starts a thread of its own with the first thread a
  // program makes: make one first, so the counts below see only ours.
  std::thread([] {}).join();
  const size_t threads = threadCount();

  output.stop();
  EXPECT_TRUE(buffer->locks.empty()) << "a pass ran without a start";
  EXPECT_EQ(buffer->stops, 0);
  EXPECT_EQ(threadCount(), threads);

  output.start(*song, 0, 20);
  EXPECT_EQ(threadCount(), threads + 1) << "the streaming thread";
  output.stop();
  const size_t written = buffer->locks.size();
  EXPECT_EQ(written, 26u) << "the first pass writes the half-second lead";
  EXPECT_EQ(buffer->stops, 1);
  EXPECT_FALSE(buffer->playing);
  EXPECT_EQ(threadCount(), threads) << "stop leaves no thread behind";

  output.stop();
  std::this_thread::sleep_for(std::chrono::milliseconds(3 * SoundOutput::kWakeMilliseconds));
  EXPECT_EQ(buffer->locks.size(), written) << "a pass ran after the stop";
  EXPECT_EQ(buffer->stops, 1);
  EXPECT_EQ(threadCount(), threads);
}

// heard() pairs the heard ticks with the song being played while start
// changes that song on another thread; under ThreadSanitizer an unguarded
// read of the song is a reported race.
TEST(SoundOutputThread, HeardPairsTicksWithTheSongBeingPlayedFromAnyThread) {
  Synth synth;
  auto shortSteps = makeTestSong(100, 1);  // 16 ticks a step
  auto longSteps = makeTestSong(100, 4);   // 64 ticks a step
  SoundOutput output(
      platform::createSilentSoundBuffer(SoundOutput::kBufferBytes, platform::WaveFormat{}), synth);
  std::atomic<bool> done{false};
  std::atomic<int> reads{0};
  std::atomic<int> mismatches{0};
  std::thread reader([&] {
    while (!done.load()) {
      const SoundOutput::Heard heard = output.heard();
      if (heard.steps != heard.ticks / 16 && heard.steps != heard.ticks / 64) ++mismatches;
      ++reads;
    }
  });
  for (int run = 0; run < 6; ++run) {
    output.start(run % 2 ? *longSteps : *shortSteps, 0, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
  output.stop();
  done = true;
  reader.join();
  EXPECT_GT(reads.load(), 0);
  EXPECT_EQ(mismatches.load(), 0);
}

TEST(SoundOutputThread, DummyDeviceKeepsRealTime) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  Synth synth;
  auto song = makeTestSong(100, 1);
  SoundOutput output(nullptr, synth);
  ASSERT_EQ(platform::audioDriverName(), "dummy");
  Clock::time_point started = Clock::now();
  output.start(*song, 0);
  EXPECT_GE(secondsSince(started), 0.49);
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  const double elapsed = secondsSince(started);
  const uint32_t heard = output.heardTicks();
  // One tick lasts 826 / 44100 s; the clock trails the start by about the
  // device's period and the thread's wake.
  const double expected = elapsed / (826.0 / 44100.0);
  EXPECT_NEAR(double(heard), expected, expected * 0.15 + 6) << elapsed;
  Clock::time_point stopping = Clock::now();
  output.stop();
  EXPECT_LT(secondsSince(stopping), 0.5) << "stop joins the thread promptly";
}

TEST(SoundOutputThread, FallsBackToASilentRingThatKeepsTime) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  Synth synth;
  auto song = makeTestSong(100, 1);
  testing::internal::CaptureStderr();
  SoundOutput output(nullptr, synth);
  std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("Could not create dx8 object"), std::string::npos) << errors;
  EXPECT_EQ(platform::audioDriverName(), "silent");
  Clock::time_point started = Clock::now();
  output.start(*song, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  const double expected = secondsSince(started) / (826.0 / 44100.0);
  EXPECT_NEAR(double(output.heardTicks()), expected, expected * 0.1 + 4);
  output.stop();
}

// The bytes SDL takes from the ring are the offline renderer's blocks: the
// disk driver writes what the callback hands over to a file.
TEST(SoundOutputThread, DeviceReceivesTheOfflineRenderersBytes) {
  std::string file = std::string(KYL_BINARY_DIR) + "/music_disk_audio_" +
                     std::to_string(platform::performanceCounter()) + ".raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  const uint32_t ticks = 60;
  std::vector<uint8_t> expected;
  {
    Synth reference;
    auto song = makeTestSong(100, 1);
    std::thread([&] {
      RenderedSong rendered = renderSong(reference, *song, 0, 64, ticks, nullptr);
      for (int16_t* block : rendered.blocks) {
        auto* bytes = reinterpret_cast<const uint8_t*>(block);
        expected.insert(expected.end(), bytes, bytes + rendered.framesPerBlock * 4);
      }
    }).join();
  }
  {
    Synth synth;
    auto song = makeTestSong(100, 1);
    SoundOutput output(nullptr, synth);
    ASSERT_EQ(platform::audioDriverName(), "disk");
    output.start(*song, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    output.stop();
  }
  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> played((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::remove(file.c_str());
  ASSERT_GT(played.size(), expected.size());
  // Before the first pass the device may take some of the cleared ring.
  size_t first = 0;
  while (first < played.size() && played[first] == 0) ++first;
  size_t leadingSilence = 0;
  while (leadingSilence < expected.size() && expected[leadingSilence] == 0) ++leadingSilence;
  ASSERT_GE(first, leadingSilence);
  size_t offset = first - leadingSilence;
  ASSERT_LE(offset + expected.size(), played.size());
  auto mismatch = std::mismatch(expected.begin(), expected.end(), played.begin() + offset);
  EXPECT_TRUE(mismatch.first == expected.end())
      << "the device got other bytes than the renderer wrote, from byte "
      << (mismatch.first - expected.begin()) << " of " << expected.size() << " (offset " << offset
      << ")";
}

}  // namespace
