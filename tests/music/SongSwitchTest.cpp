// Switching songs while the sound plays (the song player's reload): the
// blocks after the switch are the new song from its order step, rendered by
// the new synthesizer at the new tempo, exactly as a fresh render of it; and
// switching while the streaming thread runs is safe.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ScriptedSoundBuffer.h"
#include "TestSongs.h"
#include "music/SongRenderer.h"
#include "music/SoundOutput.h"
#include "platform/Random.h"
#include "synth/DenormalGuard.h"
#include "synth/Synth.h"

namespace {

// makeTestSong with each order step transposed by its number, so that
// every step sounds different.
std::unique_ptr<Song> steppedSong(uint8_t tempo) {
  auto song = makeTestSong(tempo, 1);
  OrderList& order = song->orderLists[0];
  for (uint16_t step = 0; step < order.length; ++step) order.steps[step].transpose = int8_t(step);
  return song;
}

TEST(SongSwitch, TheBlocksAfterASwitchAreTheNewSongFromItsStep) {
  DenormalGuard denormals;
  Synth first;
  auto songA = makeTestSong(100, 1);
  auto ring = std::make_unique<ScriptedSoundBuffer>();
  ScriptedSoundBuffer* buffer = ring.get();
  SoundOutput output(std::move(ring), first);
  output.prepare(*songA, 0);
  output.streamingPass();  // the half-second lead: 26 ticks of 826 frames
  ASSERT_EQ(buffer->locks.size(), 26u);
  const uint32_t switchedAt = 26 * 826 * 4;

  Synth second;
  auto songB = steppedSong(120);  // 689 frames a tick
  output.switchSong(second, *songB, 3);
  EXPECT_EQ(output.heardTicks(), 0u);
  EXPECT_EQ(output.samplesPerTick(), 689u);
  buffer->writeCursor += 40000;
  platform::srand(1);
  output.streamingPass();
  const uint32_t written = uint32_t(buffer->locks.size()) - 26;
  ASSERT_GE(written, 14u);
  EXPECT_EQ(buffer->locks[26].offset, switchedAt);
  EXPECT_EQ(output.heardTicks(), SoundOutput::heardTicksFor(written, 689));

  Synth fresh;
  platform::srand(1);
  const RenderedSong expected = renderSong(fresh, *songB, 3, 5, written, nullptr);
  ASSERT_EQ(expected.blocks.size(), written);
  for (uint32_t b = 0; b < written; ++b)
    ASSERT_EQ(
        0, std::memcmp(buffer->ring.data() + switchedAt + b * 689 * 4, expected.blocks[b], 689 * 4))
        << b;
}

TEST(SongSwitch, SwitchingWhileTheThreadStreamsIsSafe) {
  Synth synthA, synthB;
  auto songA = makeTestSong(100, 1);
  auto songB = steppedSong(120);
  SoundOutput output(
      platform::createSilentSoundBuffer(SoundOutput::kBufferBytes, platform::WaveFormat()), synthA);
  output.start(*songA, 0, 0);
  for (int i = 0; i < 20; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    const bool b = i % 2 == 0;
    output.switchSong(b ? synthB : synthA, b ? *songB : *songA, i);
  }
  // The clock runs again once the lead after the last switch has been heard.
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  EXPECT_GT(output.heardTicks(), 0u);
  output.stop();
}

}  // namespace
