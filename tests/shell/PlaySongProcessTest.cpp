// kylvander --play-song SOURCE --watch as a musician uses it, on SDL's disk
// audio driver: a source rewritten while it plays is heard from the order
// step that was playing, with its new patterns, and a save that does not
// compile is reported with its line and column while the last good version
// plays on. The sound is read back from the driver's file: each order step
// of these songs plays one sine tone whose pitch tells the song and the step.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <thread>


#include "ChildProcess.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// 40 order steps of 235 ms (tempo 255 gives 324 frames a tick, 32 ticks a
// step); step k plays note `base` + k on a sine.
std::string steppedSong(int base) {
  std::string text =
      "song tempo=255 speed=4 stepLength=2 length=40\n"
      "channel 0 tone volume=4\n"
      "  layer voices=1\n"
      "    envelope attack=0 decay=1 sustain=1 release=1\n"
      "    oscillator waveform=sine multiplier=1\n"
      "  end\n"
      "end\n"
      "pattern tone rows=8\n"
      "  n" +
      std::to_string(base) +
      " FF\n"
      "end\n"
      "order tone\n";
  for (int k = 0; k < 40; ++k)
    text += "  " + std::to_string(k) + " tone +" + std::to_string(k) + "\n";
  return text + "end\n";
}
constexpr int kFirstBase = 20;   // 98 Hz and up
constexpr int kSecondBase = 60;  // 1047 Hz and up

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Saves as editors do: a new file renamed over the old.
void save(const fs::path& path, const std::string& text) {
  std::ofstream(path.string() + ".tmp", std::ios::binary) << text;
  fs::rename(path.string() + ".tmp", path);
}

// Waits up to `seconds` for the file to hold text matching `pattern`.
std::optional<std::smatch> waitFor(const fs::path& file, const std::regex& pattern, double seconds,
                                   std::string* text) {
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  std::smatch match;
  do {
    *text = slurp(file);
    if (std::regex_search(*text, match, pattern)) return match;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (Clock::now() < deadline);
  return std::nullopt;
}

// The pitch of the left channel in windows of 60 ms, as note numbers (the
// synthesizer's: 27.5 Hz x 2^((n + 2) / 12)), or -1 where there is no tone.
std::vector<double> notesHeard(const std::string& raw) {
  const size_t frames = raw.size() / 4;
  std::vector<double> left(frames);
  for (size_t i = 0; i < frames; ++i) {
    int16_t sample;
    std::memcpy(&sample, raw.data() + 4 * i, 2);
    left[i] = sample;
  }
  const size_t window = 44100 * 60 / 1000;
  std::vector<double> notes;
  for (size_t at = 0; at + window <= frames; at += window) {
    std::vector<double> rises;  // upward zero crossings, to a fraction of a frame
    for (size_t i = at + 1; i < at + window; ++i)
      if (left[i - 1] < 0 && left[i] >= 0)
        rises.push_back(double(i - 1) - left[i - 1] / (left[i] - left[i - 1]));
    if (rises.size() < 3) {
      notes.push_back(-1);
      continue;
    }
    const double hz = 44100.0 * double(rises.size() - 1) / (rises.back() - rises.front());
    notes.push_back(12.0 * std::log2(hz / 27.5) - 2.0);
  }
  return notes;
}

// The tones in order: notes held for at least two whole windows.
std::vector<int> tonesHeard(const std::vector<double>& notes) {
  std::vector<int> tones;
  for (size_t i = 1; i < notes.size(); ++i) {
    const long note = std::lround(notes[i]);
    if (notes[i] < 0 || std::fabs(notes[i] - double(note)) > 0.1) continue;
    if (std::lround(notes[i - 1]) == note && std::fabs(notes[i - 1] - double(note)) <= 0.1 &&
        (tones.empty() || tones.back() != int(note)))
      tones.push_back(int(note));
  }
  return tones;
}

TEST(PlaySongProcess, ASavedSourceIsHeardFromTheSameStepAndABrokenSaveLeavesItPlaying) {
  const fs::path dir = fs::temp_directory_path() / ("kyl-play-song-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path source = dir / "song.song", out = dir / "out.txt", err = dir / "err.txt",
                 raw = dir / "sound.raw";
  save(source, steppedSong(kFirstBase));

  const pid_t pid = startChild({KYL_EXECUTABLE, "--play-song", source.string(), "--watch"},
                               {"DISPLAY", "SDL_AUDIODRIVER"},
                               {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + raw.string()},
                               {"", out.string(), err.string()});
  ASSERT_GT(pid, 0);

  std::string said, complaints;
  const bool started = bool(waitFor(out, std::regex("step 3/40"), 10, &said));
  save(source, steppedSong(kSecondBase));
  const auto reloaded =
      waitFor(out, std::regex("reloaded .*song.song: playing from step (\\d+)"), 10, &said);
  // The match points into `said`, which is read again below.
  const int step = reloaded ? std::stoi((*reloaded)[1]) : -1;
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  std::ofstream(source, std::ios::binary) << "song tempo=999\n";
  const auto refused =
      waitFor(err, std::regex("song.song:1:6: tempo=999: must be from 1 to 255"), 10, &complaints);
  const std::string beforeWait = slurp(out);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  const bool stillRunning = waitpid(pid, nullptr, WNOHANG) == 0;
  said = slurp(out);
  kill(pid, SIGINT);
  int status = -1;
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (waitpid(pid, &status, WNOHANG) == 0 && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  if (Clock::now() >= deadline) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }

  ASSERT_TRUE(started) << said;
  ASSERT_TRUE(reloaded) << said;
  ASSERT_TRUE(refused) << complaints;
  EXPECT_TRUE(stillRunning);
  EXPECT_GT(said.size(), beforeWait.size()) << "the readout goes on after the broken save";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

  // The first song step by step, then the second from the step that was
  // heard at the save, on to the end without a gap or a return of the first.
  const std::vector<int> tones = tonesHeard(notesHeard(slurp(raw)));
  std::ostringstream heard;
  for (int t : tones) heard << t << ' ';
  SCOPED_TRACE("tones heard: " + heard.str() + "; reloaded at step " + std::to_string(step));
  size_t at = 0;
  ASSERT_FALSE(tones.empty());
  EXPECT_EQ(tones[0], kFirstBase);
  for (; at < tones.size() && tones[at] < kSecondBase; ++at)
    EXPECT_EQ(tones[at], kFirstBase + int(at));
  ASSERT_GT(at, size_t(step)) << "the step playing at the save was heard";
  ASSERT_LT(at, tones.size());
  EXPECT_EQ(tones[at], kSecondBase + step);
  // The second song sounds from about 0.5 s after the reload to the end,
  // some 2 s: had the broken save stopped it, it would have fallen silent
  // after about five steps.
  EXPECT_GE(tones.size() - at, 7u);
  for (size_t i = at; i < tones.size(); ++i) EXPECT_EQ(tones[i], kSecondBase + step + int(i - at));
  fs::remove_all(dir);
}

}  // namespace
