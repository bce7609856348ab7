// The tick stream on its own with real set-ups: events between ticks take
// effect on the nearest tick, the host's transport keeps the blocks on its
// tick grid, the strip parameters adjust the set-up's mixer, and set-ups
// chosen on another thread swap in while the stream runs.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "plugin/HostParameters.h"
#include "plugin/Setup.h"
#include "plugin/SetupExchange.h"
#include "plugin/SetupLoader.h"
#include "plugin/TickStream.h"
#include "songc/SongCompiler.h"

namespace {

const char* const kSine =
    "song tempo=125 speed=6 stepLength=16\n"
    "channel 0 sine volume=4\n"
    "  layer voices=4\n"
    "    envelope attack=0 decay=0 sustain=1 release=2 velocitySens=0\n"
    "    oscillator waveform=sine multiplier=1\n"
    "  end\n"
    "end\n";
constexpr uint32_t kTick = 2646000 / (125 * 32);  // 661

std::unique_ptr<Setup> sineSetup() {
  CompiledSong compiled = compileSong(SourceText::fromString("sine.song", kSine));
  return loadSetupImage(std::move(compiled.image), "sine.song", 0).setup;
}

struct Timed {
  uint64_t frame;
  std::vector<uint8_t> bytes;
};

// A stream with the sine set-up, run 100 frames at a time, each message in
// the run that holds its frame.
std::vector<float> play(const std::vector<Timed>& midi, TickStream::Transport transport = {},
                        uint32_t frames = 20 * kTick, double rate = 44100) {
  SetupExchange exchange;
  HostParameters parameters;
  TickStream stream(exchange, parameters);
  stream.prepare(rate);
  exchange.offer(sineSetup());
  stream.adopt();
  std::vector<float> left(frames), right(frames);
  for (uint32_t done = 0; done < frames; done += 100) {
    const uint32_t n = std::min<uint32_t>(100, frames - done);
    std::vector<TickStream::MidiMessage> run;
    for (const Timed& m : midi)
      if (m.frame >= done && m.frame < done + n)
        run.push_back({uint32_t(m.frame - done), m.bytes.data(), uint32_t(m.bytes.size())});
    stream.run(left.data() + done, right.data() + done, n, run.data(), uint32_t(run.size()),
               transport);
    transport.frame += n;
  }
  return left;
}

// One key struck at a frame.
std::vector<float> strike(uint64_t frame, TickStream::Transport transport = {},
                          uint32_t frames = 20 * kTick, double rate = 44100) {
  return play({{frame, {0x90, 69, 100}}}, transport, frames, rate);
}

TEST(TickStream, AnEventBetweenTicksTakesEffectOnTheNearestTick) {
  const std::vector<float> onTick = strike(5 * kTick), nextTick = strike(6 * kTick);
  ASSERT_NE(onTick, nextTick);
  EXPECT_EQ(strike(5 * kTick + kTick / 2 - 1), onTick) << "just before half a tick";
  EXPECT_EQ(strike(5 * kTick - kTick / 2), onTick) << "half a tick early";
  EXPECT_EQ(strike(5 * kTick + kTick / 2 + 1), nextTick) << "just after half a tick";
  // Heard one tick (the latency) after the tick it is on.
  size_t onset = 0;
  while (onset < onTick.size() && onTick[onset] == 0.0f) ++onset;
  EXPECT_GE(onset, 6 * kTick);
  EXPECT_LT(onset, 6 * kTick + 10);

  // The same through the rate converter, in host frames.
  const double rate = 48000, ratio = rate / 44100;
  const auto at = [&](double internal) { return uint64_t(std::lround(internal * ratio)); };
  const uint32_t frames = uint32_t(20 * kTick * ratio);
  const std::vector<float> converted = strike(at(5 * kTick), {}, frames, rate);
  EXPECT_EQ(strike(at(5 * kTick + kTick / 2 - 2), {}, frames, rate), converted);
  EXPECT_EQ(strike(at(5 * kTick - kTick / 2 + 1), {}, frames, rate), converted);
  EXPECT_NE(strike(at(5 * kTick + kTick / 2 + 2), {}, frames, rate), converted);
}

TEST(TickStream, ThePlayingTransportKeepsBlocksOnItsTickGrid) {
  // The host's timeline starts 1000 frames before the stream: its ticks fall
  // 1000 frames into the stream's blocks until the stream aligns.
  TickStream::Transport transport;
  transport.playing = true;
  transport.frame = 8 * kTick - 1000;
  const std::vector<float> moved = strike(1000 + kTick, transport, 20 * kTick);
  const std::vector<float> reference = strike(5 * kTick);
  // The key on the transport's tick 9 sounds like a key on a stream tick,
  // a tick later, sample for sample.
  size_t a = 0, b = 0;
  while (a < moved.size() && moved[a] == 0.0f) ++a;
  while (b < reference.size() && reference[b] == 0.0f) ++b;
  ASSERT_LT(a, moved.size());
  EXPECT_EQ(a, 1000u + 2 * kTick) << "heard at the transport's next tick";
  const size_t span = std::min(moved.size() - a, reference.size() - b);
  EXPECT_TRUE(std::equal(moved.begin() + long(a), moved.begin() + long(a + span),
                         reference.begin() + long(b)));
}

TEST(TickStream, AllNotesOffEndsTheNotesTheChannelHolds) {
  const std::vector<Timed> keys = {{2 * kTick, {0x90, 69, 100}}, {2 * kTick, {0x90, 76, 100}}};
  const auto with = [&](std::vector<Timed> more) {
    more.insert(more.begin(), keys.begin(), keys.end());
    return play(more);
  };
  const uint64_t end = 8 * kTick;
  const std::vector<float> released = with({{end, {0x80, 69, 0}}, {end, {0x80, 76, 0}}});
  ASSERT_NE(released, play(keys));
  for (uint8_t controller : {120, 123, 127})
    EXPECT_EQ(with({{end, {0xB0, controller, 0}}}), released) << int(controller);
  EXPECT_EQ(with({{end, {0xB1, 123, 0}}}), play(keys)) << "another channel's";
  EXPECT_EQ(play({{2 * kTick, {0x90, 69}}}), std::vector<float>(20 * kTick))
      << "a message cut short";
}

TEST(TickStream, StripParametersAdjustTheSetupsMixer) {
  SetupExchange exchange;
  HostParameters parameters;
  // (gtest's Test has a member named Setup.)
  std::unique_ptr<::Setup> setup = sineSetup();
  ::Setup& s = *setup;
  s.strip[0][1] = 0.9f;  // pan
  s.strip[0][3] = 0.3f;  // send 2
  s.strip[1][0] = 1.5f;  // volume
  const uint32_t strip = HostParameters::kFirstStrip;
  parameters.applyTo(s);
  EXPECT_EQ(s.synth->volume[0], 4.0f) << "defaults leave the set-up's mixer";
  EXPECT_EQ(s.synth->pan[0], 0.9f);
  EXPECT_EQ(s.synth->send2[0], 0.3f);
  parameters.set(strip + 0, 0.5f);   // channel 0 volume x 0.5
  parameters.set(strip + 1, 0.5f);   // pan 0.9 + 0.5, held to 1
  parameters.set(strip + 3, -0.1f);  // send 2 0.3 - 0.1
  parameters.set(strip + 5, 9.0f);   // channel 1 volume, held to x 4
  parameters.applyTo(s);
  EXPECT_EQ(s.synth->volume[0], 2.0f);
  EXPECT_EQ(s.synth->pan[0], 1.0f);
  EXPECT_FLOAT_EQ(s.synth->send2[0], 0.2f);
  EXPECT_EQ(s.synth->volume[1], 6.0f);
  EXPECT_EQ(parameters.get(strip + 5), 4.0f);
  parameters.set(HostParameters::kStatus, 2.0f);
  EXPECT_EQ(parameters.get(HostParameters::kStatus), 0.0f) << "an output is not set by the host";
}

TEST(TickStream, SetupsChosenOnAnotherThreadSwapInWhileItRuns) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("kyl-swap-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string sine = (dir / "sine.song").string(), bad = (dir / "bad.song").string();
  std::ofstream(sine) << kSine;
  std::ofstream(bad) << "channel 0\n  layer voices=none\n";

  SetupExchange exchange;
  HostParameters parameters;
  SetupLoader loader(exchange);
  TickStream stream(exchange, parameters);
  stream.prepare(48000);
  stream.adopt();
  std::atomic<bool> done{false};
  std::atomic<uint32_t> lastTick{0};
  std::thread audio([&] {
    std::vector<float> left(256), right(256);
    const uint8_t on[3] = {0x90, 60, 100};
    TickStream::MidiMessage m{0, on, 3};
    while (!done.load()) {
      stream.run(left.data(), right.data(), 256, &m, 1, {});
      lastTick.store(stream.tickFrames());
    }
  });
  ::testing::internal::CaptureStderr();
  for (int i = 0; i < 30; ++i) {
    loader.choose(i % 3 == 0 ? sine : i % 3 == 1 ? bad : "");
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
  }
  loader.choose(sine);
  for (int i = 0; i < 200 && lastTick.load() != kTick; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  done.store(true);
  audio.join();
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(lastTick.load(), kTick) << "the last file chosen plays";
  EXPECT_EQ(loader.status(), HostParameters::kPlayingFile);
  exchange.offer(stream.release());
  std::filesystem::remove_all(dir);
}

}  // namespace
