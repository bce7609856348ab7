// The LV2 plugin in a lilv host, loaded from the build folder: it plays the
// show's song from MIDI exactly as the show renders it, takes set-up files
// chosen in the host and kept in its session, keeps playing when a file does
// not load, reloads a file that changes, keeps its pitch at another rate,
// and allocates nothing while it runs.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "music/PcmConversion.h"
#include "plugin/AllocationCounter.h"
#include "plugin/Lv2Host.h"
#include "plugin/SongMidi.h"

namespace {

constexpr const char* kUri = "urn:kylvander:synth";
constexpr uint32_t kChunk = 1000;  // host buffers that do not divide a tick

// A plain voice: a sine at multiplier 1 on channel 0, so MIDI key 69
// sounds at 440 Hz, with no envelope shape to speak of.
std::string sineSource(int transpose = 0) {
  return "song tempo=125 speed=6 stepLength=16\n"
         "channel 0 sine volume=4\n"
         "  layer voices=4\n"
         "    envelope attack=0 decay=0 sustain=1 release=2 velocitySens=0\n"
         "    oscillator waveform=sine multiplier=1 transpose=" +
         std::to_string(transpose) +
         "\n"
         "  end\n"
         "end\n";
}

class Lv2Plugin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { setenv("LV2_PATH", KYL_BINARY_DIR "/bin", 1); }

  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("kyl-lv2-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string write(const std::string& name, const std::string& text) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  std::filesystem::path dir_;
};

struct Stereo {
  std::vector<float> left, right;
};

// Runs frames frames in host buffers of kChunk.
Stereo play(Lv2Host& host, uint32_t frames) {
  Stereo out{std::vector<float>(frames), std::vector<float>(frames)};
  for (uint32_t done = 0; done < frames;) {
    const uint32_t n = std::min(kChunk, frames - done);
    host.run(n, out.left.data() + done, out.right.data() + done);
    done += n;
  }
  return out;
}

// The frequency of a steady tone from its rising zero crossings, placed
// between samples by linear interpolation.
double frequencyOf(const std::vector<float>& x, size_t from, size_t to, double rate) {
  double first = -1.0, last = -1.0;
  int cycles = -1;
  for (size_t i = from + 1; i < to; ++i) {
    if (x[i - 1] < 0.0f && x[i] >= 0.0f) {
      const double at = double(i - 1) + double(-x[i - 1]) / double(x[i] - x[i - 1]);
      if (first < 0.0) first = at;
      last = at;
      ++cycles;
    }
  }
  return cycles > 0 ? double(cycles) * rate / (last - first) : 0.0;
}

size_t onsetOf(const std::vector<float>& x, float threshold = 0.01f) {
  for (size_t i = 0; i < x.size(); ++i)
    if (std::fabs(x[i]) > threshold) return i;
  return x.size();
}

std::vector<int16_t> wavSamples(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  for (size_t at = 12; at + 8 <= bytes.size();) {
    uint32_t size;
    std::memcpy(&size, &bytes[at + 4], 4);
    if (std::string(&bytes[at], 4) == "data") {
      std::vector<int16_t> samples(size / 2);
      std::memcpy(samples.data(), &bytes[at + 8], samples.size() * 2);
      return samples;
    }
    at += 8 + size + (size & 1);
  }
  return {};
}

void noteOn(Lv2Host& host, uint32_t frame, int key) { host.midi(frame, {0x90, uint8_t(key), 100}); }

TEST_F(Lv2Plugin, PlaysTheShowSongFromMidiAsTheShowRendersIt) {
  // The first three order steps: the offline render's --end-position 3 is
  // two steps and the first tick of the third, 513 ticks.
  const uint32_t ticks = 2 * 256 + 1;
  const std::string wav = (dir_ / "show.wav").string();
  const std::string command = std::string(KYL_BINARY_DIR) + "/src/shell/kylvander --render-audio " +
                              wav + " --end-position 3 2>/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const std::vector<int16_t> show = wavSamples(wav);

  const SongMidi song = songAsMidi(builtSongFile(), ticks);
  ASSERT_EQ(song.unencoded, 0u) << "events MIDI cannot carry";
  ASSERT_EQ(show.size(), size_t(ticks) * song.tickFrames * 2);

  Lv2Host host(kUri, 44100, kChunk);
  float scratch[2][1];
  host.run(0, scratch[0], scratch[1]);
  const uint32_t latency = host.latency();
  EXPECT_EQ(latency, song.tickFrames) << "one tick of latency";

  const uint64_t frames = uint64_t(ticks) * song.tickFrames + latency;
  Stereo out{std::vector<float>(frames), std::vector<float>(frames)};
  size_t next = 0;
  for (uint64_t done = 0; done < frames;) {
    const uint32_t n = uint32_t(std::min<uint64_t>(kChunk, frames - done));
    for (; next < song.events.size() && song.events[next].frame < done + n; ++next) {
      const TimedMidi& e = song.events[next];
      host.midi(uint32_t(e.frame - done), {e.bytes[0], e.bytes[1], e.bytes[2]});
    }
    host.run(n, out.left.data() + done, out.right.data() + done);
    done += n;
  }

  // Sample x 32767 truncated, as the show writes its blocks.
  size_t differing = 0, first = 0;
  for (size_t i = 0; i < show.size() / 2; ++i) {
    if (pcmSample(out.left[latency + i]) != show[2 * i] ||
        pcmSample(out.right[latency + i]) != show[2 * i + 1]) {
      if (differing++ == 0) first = i;
    }
  }
  EXPECT_EQ(differing, 0u) << "first at frame " << first << " (tick " << first / song.tickFrames
                           << ")";
  EXPECT_GT(onsetOf(out.left), latency) << "silent for the latency, then the song";
}

TEST_F(Lv2Plugin, RunAllocatesNothingWhileItPlaysSwapsSetupsAndIsAutomated) {
  if (!allocation::available()) GTEST_SKIP() << "the sanitizer's allocator is not counted";
  const std::string sine = write("sine.song", sineSource());
  const SongMidi song = songAsMidi(builtSongFile(), 160);
  Lv2Host host(kUri, 48000, kChunk);  // resampling too
  std::vector<float> left(kChunk), right(kChunk);
  size_t next = 0;
  for (uint64_t done = 0, run = 0; done < 160ull * song.tickFrames; done += kChunk, ++run) {
    for (; next < song.events.size() && song.events[next].frame < done + kChunk; ++next) {
      const TimedMidi& e = song.events[next];
      host.midi(uint32_t(e.frame - done), {e.bytes[0], e.bytes[1], e.bytes[2]});
    }
    if (run == 40) host.chooseFile(sine);  // loaded by the worker, swapped in by run
    if (run == 80) host.chooseFile("");   // back to the built-in set-up
    host.setControl("ch3_volume", float(run % 7) * 0.5f);
    host.setControl("ch0_pan", float(run % 5) * 0.2f - 0.4f);
    host.setControl("master", 0.5f + float(run % 3) * 0.25f);
    host.run(kChunk, left.data(), right.data());
  }
  EXPECT_EQ(host.control("status"), 0.0f);
  EXPECT_EQ(host.allocationsInRun(), 0u) << "heap calls in " << host.runs() << " runs";
}

TEST_F(Lv2Plugin, AChosenFilePlaysAndTheSessionReopensWithTheSameSound) {
  const std::string sine = write("sine.song", sineSource());
  const uint32_t tick = 2646000 / (125 * 32);  // the file's own tempo

  // Both hosts play their timeline from its start, so blocks lie on its
  // ticks whatever set-up came first.
  Lv2Host host(kUri, 44100, kChunk);
  host.transport(true, 0);
  host.chooseFile(sine);
  play(host, 2 * kChunk);
  EXPECT_EQ(host.control("status"), 1.0f);
  EXPECT_EQ(host.latency(), tick) << "the latency follows the file's tempo";
  noteOn(host, 0, 69);
  const Stereo first = play(host, 44100);
  EXPECT_NEAR(frequencyOf(first.left, 8820, 44100, 44100), 440.0, 0.05);

  const std::string session = host.saveState();
  EXPECT_NE(session.find(sine), std::string::npos) << session;

  Lv2Host reopened(kUri, 44100, kChunk);
  reopened.restoreState(session);
  reopened.transport(true, 0);
  play(reopened, 2 * kChunk);
  EXPECT_EQ(reopened.control("status"), 1.0f);
  noteOn(reopened, 0, 69);
  const Stereo again = play(reopened, 44100);
  EXPECT_EQ(again.left, first.left);
  EXPECT_EQ(again.right, first.right);
}

TEST_F(Lv2Plugin, AFileThatDoesNotLoadKeepsTheSetupAndAFixedOrChangedFileReloads) {
  const std::string path = write("song.song", "channel 0\n  layer voices=many\n  end\nend\n");
  Lv2Host host(kUri, 44100, kChunk), untouched(kUri, 44100, kChunk);

  ::testing::internal::CaptureStderr();
  host.chooseFile(path);
  play(host, 2 * kChunk);
  play(untouched, 2 * kChunk);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find(path + ":2:"), std::string::npos) << said;
  EXPECT_NE(said.find("still playing brumtakt"), std::string::npos) << said;
  EXPECT_EQ(host.control("status"), 2.0f);

  // Still the built-in set-up, sample for sample.
  noteOn(host, 0, 60);
  noteOn(untouched, 0, 60);
  EXPECT_EQ(play(host, 8000).left, play(untouched, 8000).left);

  // Played while the file is mended, then changed: each version is heard
  // within a few looks at the file.
  const auto playUntil = [&](auto done) {
    for (int i = 0; i < 80 && !done(); ++i) {
      play(host, 4410);
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return done();
  };
  write("song.song", sineSource());
  EXPECT_TRUE(playUntil([&] { return host.control("status") == 1.0f; }));
  const auto pitch = [&] {
    noteOn(host, 0, 69);
    const Stereo s = play(host, 22050);
    host.midi(0, {0x80, 69, 0});
    play(host, 4410);
    return frequencyOf(s.left, 4410, 22050, 44100);
  };
  EXPECT_NEAR(pitch(), 440.0, 0.1);
  write("song.song", sineSource(12) + "# an octave up\n");
  EXPECT_TRUE(playUntil([&] { return std::fabs(pitch() - 880.0) < 0.2; }));
}

TEST_F(Lv2Plugin, AtAnotherRateThePitchAndTheTimingStay) {
  const std::string sine = write("sine.song", sineSource());
  const uint32_t tick = 2646000 / (125 * 32);
  double pitch[2], onset[2];
  const double rates[2] = {44100, 48000};
  for (int r = 0; r < 2; ++r) {
    Lv2Host host(kUri, rates[r], kChunk);
    host.transport(true, 0);
    host.chooseFile(sine);
    play(host, kChunk);
    // A note on the file's ticks of the timeline, a third of a second in.
    const uint32_t at = uint32_t(std::lround(20.0 * tick * rates[r] / 44100.0));
    play(host, at - kChunk);
    noteOn(host, 0, 69);
    const Stereo out = play(host, uint32_t(rates[r]));
    pitch[r] = frequencyOf(out.left, size_t(rates[r] * 0.2), out.left.size(), rates[r]);
    onset[r] = (double(onsetOf(out.left)) - double(host.latency())) / rates[r];
    EXPECT_EQ(host.latency(), uint32_t(std::lround(tick * rates[r] / 44100.0)));
  }
  std::printf("A-4: %.4f Hz at 44100, %.4f Hz at 48000 (%.4f cents); onset %.1f us later\n", pitch[0],
              pitch[1], 1200.0 * std::log2(pitch[1] / pitch[0]), (onset[1] - onset[0]) * 1e6);
  EXPECT_LT(std::fabs(1200.0 * std::log2(pitch[1] / pitch[0])), 1.0)
      << pitch[0] << " Hz at 44100, " << pitch[1] << " Hz at 48000";
  EXPECT_NEAR(onset[1], onset[0], 0.001) << "seconds from the note to its sound, less the latency";
}

TEST_F(Lv2Plugin, TicksFollowTheHostsTempoWhenAsked) {
  Lv2Host host(kUri, 44100, kChunk);
  host.transport(true, 0, 120.0);
  const auto latencyBecomes = [&](uint32_t frames) {
    for (int i = 0; i < 80 && host.latency() != frames; ++i) {
      play(host, 4410);
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return host.latency();
  };
  EXPECT_EQ(latencyBecomes(1215), 1215u) << "brumtakt's own tempo until asked";
  // A sixteenth of 120 beats a minute, divided by brumtakt's speed of 4.
  host.setControl("host_tempo", 1.0f);
  EXPECT_EQ(latencyBecomes(2646000 / (120 * 16)), 1378u);
  host.setControl("host_tempo", 0.0f);
  EXPECT_EQ(latencyBecomes(1215), 1215u);
}

TEST_F(Lv2Plugin, Lv2infoListsThePluginWithItsPorts) {
  FILE* pipe = popen("lv2info urn:kylvander:synth 2>/dev/null", "r");
  ASSERT_NE(pipe, nullptr);
  std::string listing;
  char line[512];
  while (fgets(line, sizeof line, pipe)) listing += line;
  EXPECT_EQ(pclose(pipe), 0);
  for (const char* want :
       {"Name:              Kylvander Synth", "Has latency:       yes", "Symbol:      lv2_audio_out_1",
        "Symbol:      lv2_audio_out_2", "Symbol:      lv2_events_in", "Symbol:      master",
        "Name:        Master volume", "Symbol:      host_tempo", "Symbol:      ch0_volume",
        "Name:        Channel 7 send3", "Symbol:      status", "worker#schedule"})
    EXPECT_NE(listing.find(want), std::string::npos) << want << "\n" << listing;
  size_t ports = 0;
  for (size_t at = listing.find("\n\tPort "); at != std::string::npos;
       at = listing.find("\n\tPort ", at + 1))
    ++ports;
  EXPECT_EQ(ports, 48u) << "2 audio, 2 event, latency, 43 parameters";
}

}  // namespace
