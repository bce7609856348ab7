// A video of the show is the show: at one moment in each of the eight scenes,
// with the real song and pictures at 2 frames per second,
//   - the frame of `kylvander --capture DIR/` equals `kylvander --screenshot`
//     of that moment, byte for byte (both PNG files);
//   - both equal the frame of the live frame loop (showFrame, as the show
//     runs it in its window) run on a virtual clock that stands where a live
//     run's clock stands at each frame;
//   - the live loop draws the same frames after the song was rendered on the
//     drawing thread before the scenes were built, as --precalc has it;
// and the capture's sound is what --render-audio writes for that stretch.
// The synthesizer's random LFOs and the scenes draw from rand, so any
// rendering on the drawing thread shows in scenes 3, 4 and 5.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "clock/VirtualClock.h"
#include "music/MusicSystem.h"
#include "scenes/Scene.h"
#include "scenes/SceneList.h"
#include "shell/DataDirectory.h"
#include "shell/DemoMain.h"
#include "shell/GLWindow.h"
#include "shell/OffscreenTarget.h"
#include "shell/ShowFrame.h"
#include "shell/SongFile.h"
#include "synth/Song.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFps = 2;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Moment {
  double seconds;
  int scene;
};
// One moment in each scene, in the order they play.
constexpr Moment kMoments[] = {{4.0, 0},   {31.0, 1},  {46.5, 5},  {75.0, 7},
                               {103.0, 3}, {117.0, 4}, {131.0, 2}, {145.0, 6}};

uint32_t frameOf(double seconds) { return uint32_t(std::floor(seconds * kFps + 1e-9)); }

using Pixels = std::vector<uint8_t>;

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs kylvander on the build's show data with offscreen video; the exit code.
int runShowProgram(const std::string& arguments, const fs::path& errors) {
  const std::string command = "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy '" +
                              std::string(KYL_EXECUTABLE) + "' --data '" + KYL_SHOW_DATA + "' " +
                              arguments + " 2>'" + errors.string() + "' >/dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A PNG's pixels as RGB rows, top row first, decoded by ffmpeg.
Pixels decodePng(const fs::path& png) {
  const std::string command =
      "ffmpeg -v error -i '" + png.string() + "' -f rawvideo -pix_fmt rgb24 - 2>/dev/null";
  Pixels rgb;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return rgb;
  uint8_t buffer[65536];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    rgb.insert(rgb.end(), buffer, buffer + n);
  pclose(pipe);
  return rgb;
}

// "identical", or how many bytes differ and by how much on average.
std::string comparison(const Pixels& a, const Pixels& b) {
  if (a.size() != b.size() || a.empty())
    return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size());
  size_t differing = 0;
  double total = 0.0;
  for (size_t i = 0; i < a.size(); ++i) {
    const int d = std::abs(int(a[i]) - int(b[i]));
    differing += d != 0;
    total += d;
  }
  if (differing == 0) return "identical";
  char text[96];
  std::snprintf(text, sizeof text, "differs: %zu bytes, mean %.2f per channel", differing,
                total / double(a.size()));
  return text;
}

// The live frame loop on a virtual clock in the show's window: the frames at
// the moments, and the scene each was drawn from. With `renderFirst`, the
// music system renders the song on this thread before the scenes are built,
// as --precalc has it; the clock stands where a live run without it stands.
//
// The loop draws into a target of the capture's kind, bound before each
// iteration: a window's surface is the driver's choice (here no alpha and a
// 32-bit depth buffer, where the framebuffer object has alpha and 24 bits),
// and llvmpipe rounds a few hundred of its 921,600 channels by one the other
// way. The iteration itself, swap included, is the show's.
struct LiveFrames {
  std::vector<Pixels> frames;
  std::vector<int> scenes;
};

LiveFrames runLiveLoop(GLWindow& window, const std::vector<uint8_t>& songImage, bool renderFirst) {
  MusicSystem music;  // answers what a live run hears when; never started
  EXPECT_TRUE(
      music.init(songImage.data(), songImage.size(), window.window(), false, 32, nullptr, nullptr));
  if (renderFirst) {
    MusicSystem precalculated;
    EXPECT_TRUE(precalculated.init(songImage.data(), songImage.size(), window.window(), true, 32,
                                   nullptr, nullptr));
  }
  VirtualClock clock(music.song()->ticksPerStep, 0);
  SceneArray scenes = constructScenes(clock);
  ShowFrame frame(clock, scenes);
  OffscreenTarget target(kWidth, kHeight);

  LiveFrames live;
  const uint32_t last = frameOf(std::end(kMoments)[-1].seconds);
  size_t next = 0;
  for (uint32_t k = 0; k <= last; ++k) {
    const double seconds = double(k) / kFps;
    clock.set(seconds, music.heardTicksAt(seconds));
    target.beginFrame();
    if (!showFrame(window, frame)) {
      ADD_FAILURE() << "the live loop ended at " << seconds << " s";
      break;
    }
    if (k == frameOf(kMoments[next].seconds)) {
      live.frames.emplace_back();
      target.read(&live.frames.back());
      live.scenes.push_back(frame.scene());
      ++next;
    }
  }
  return live;
}

class CaptureIsTheShow : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("kyl-capture-show-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path dir;
};

TEST_F(CaptureIsTheShow, EveryMomentsFrameIsTheLiveLoopsInCaptureAndScreenshot) {
  const fs::path errors = dir / "errors.txt";
  const fs::path capture = dir / "capture";
  ASSERT_EQ(runShowProgram("--capture '" + capture.string() + "/' --fps 2", errors), 0)
      << slurp(errors);
  std::vector<fs::path> shots;
  for (const Moment& m : kMoments) {
    char name[32];
    std::snprintf(name, sizeof name, "shot-%.1f.png", m.seconds);
    shots.push_back(dir / name);
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", m.seconds);
    ASSERT_EQ(runShowProgram(std::string("--screenshot ") + seconds + " '" + shots.back().string() +
                                 "' --fps 2",
                             errors),
              0)
        << slurp(errors);
  }

  // The live loop in the show's own window, after entering the data folder
  // as the show does.
  Options options;
  options.dataDir = KYL_SHOW_DATA;
  ASSERT_NO_THROW(enterDataDirectory(options));
  const std::vector<uint8_t> songImage = readSongFile(kSongFileName);
  GLWindow window(kWidth, kHeight, false);
  const LiveFrames live = runLiveLoop(window, songImage, false);
  const LiveFrames afterRender = runLiveLoop(window, songImage, true);
  ASSERT_EQ(live.frames.size(), std::size(kMoments));
  ASSERT_EQ(afterRender.frames.size(), std::size(kMoments));

  std::printf(
      "moment  scene  capture vs screenshot  live loop vs screenshot  "
      "live loop after --precalc's render\n");
  for (size_t i = 0; i < std::size(kMoments); ++i) {
    const Moment& m = kMoments[i];
    char frameName[32];
    std::snprintf(frameName, sizeof frameName, "frame%05u.png", frameOf(m.seconds));
    const fs::path captured = capture / frameName;
    const std::string shotFile = slurp(shots[i]);
    const std::string captureVsShot = slurp(captured) == shotFile && !shotFile.empty()
                                          ? "identical"
                                          : comparison(decodePng(captured), decodePng(shots[i]));
    const Pixels shot = decodePng(shots[i]);
    const std::string liveVsShot = comparison(live.frames[i], shot);
    const std::string afterRenderVsShot = comparison(afterRender.frames[i], shot);
    std::printf("%6.1f  %5d  %-21s  %-23s  %s\n", m.seconds, m.scene, captureVsShot.c_str(),
                liveVsShot.c_str(), afterRenderVsShot.c_str());
    EXPECT_EQ(live.scenes[i], m.scene) << m.seconds << " s";
    EXPECT_EQ(captureVsShot, "identical") << m.seconds << " s";
    EXPECT_EQ(liveVsShot, "identical") << m.seconds << " s";
    EXPECT_EQ(afterRenderVsShot, "identical") << m.seconds << " s";
  }

  // The capture's sound is the live show's: the offline render of the same
  // stretch (which starts, as the streaming thread does, from a fresh rand).
  const fs::path render = dir / "render.wav";
  ASSERT_EQ(runShowProgram("--render-audio '" + render.string() + "' --end-position 24", errors), 0)
      << slurp(errors);
  const std::string captured = slurp(capture / "sound.wav");
  const std::string rendered = slurp(render);
  ASSERT_GT(captured.size(), 44u);
  ASSERT_GE(rendered.size(), captured.size());
  EXPECT_TRUE(captured.compare(44, std::string::npos, rendered, 44, captured.size() - 44) == 0)
      << "the capture's sound is not the render's";
}

}  // namespace
