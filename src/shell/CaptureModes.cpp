// The offline modes that draw the show on a virtual clock:
//   --capture OUT.mp4 [--fps N] [--size WxH]   the whole show to a video
//   --capture DIR/                             numbered PNG frames and a WAV
//   --screenshot SECONDS OUT.png [--fps N]     the frame a capture draws then
//   --benchmark                                frame times per scene
// Frame k is drawn for the moment k / N with the heard ticks that moment has
// in a live run, so captures do not depend on the machine's speed, and two
// captures of the same stretch are identical.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "gfx/HiddenGlContext.h"
#include "music/WavFile.h"
#include "platform/Gl.h"
#include "platform/Stopwatch.h"
#include "platform/Window.h"
#include "shell/DataDirectory.h"
#include "shell/FfmpegPipe.h"
#include "shell/FrameProgress.h"
#include "shell/GLWindow.h"
#include "shell/Modes.h"
#include "shell/OfflineShow.h"
#include "shell/OffscreenTarget.h"
#include "shell/SongFile.h"

namespace fs = std::filesystem;

namespace {

// Tells how far the sound rendering is.
class SoundProgress : public SongRenderHook {
 public:
  void progress(uint32_t, uint32_t percent, float) override {
    std::fprintf(stderr, "\rrendering the sound: %3u%%", std::min(percent, 100u));
    std::fflush(stderr);
  }
};

// What every offline mode needs: the output path resolved where the user
// stood, the data folder entered, the song read, a GL context, the show.
struct OfflineSetup {
  fs::path output;
  std::unique_ptr<HiddenGlContext> context;
  std::unique_ptr<OfflineShow> show;
};

// Reads the song in the working directory and builds the show on the current
// GL context.
bool loadShow(const Options& options, OfflineSetup* setup) {
  std::vector<uint8_t> songImage;
  try {
    songImage = readSongFile(kSongFileName);
  } catch (const SongFileError& e) {
    std::fprintf(stderr, "kylvander: cannot read the song file \"%s\": %s\n", e.file.c_str(),
                 e.reason.c_str());
    return false;
  }
  setup->show = std::make_unique<OfflineShow>(songImage, options.startPosition);
  if (!setup->show->ok()) {
    std::fprintf(stderr, "kylvander: %s\n", setup->show->error().c_str());
    return false;
  }
  return true;
}

// Output path, data folder, a hidden GL context, the show.
bool setUp(const Options& options, OfflineSetup* setup) {
  std::error_code error;
  setup->output = fs::absolute(options.output, error);
  if (error) {
    std::fprintf(stderr, "kylvander: cannot use the output \"%s\": %s\n", options.output.c_str(),
                 error.message().c_str());
    return false;
  }
  if (!enterDataDirectory(options)) return false;
  try {
    setup->context = std::make_unique<HiddenGlContext>(64, 48);
  } catch (const platform::PlatformError& e) {
    std::fprintf(stderr, "kylvander: no OpenGL context: %s\n", e.what());
    return false;
  }
  return loadShow(options, setup);
}

bool isDirectoryOutput(const std::string& output) {
  if (output.empty()) return false;
  const char last = output.back();
  std::error_code error;
  return last == '/' || last == '\\' || fs::is_directory(output, error);
}

std::string sizeArgument(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

// The raw-frame input ffmpeg reads from us.
std::vector<std::string> rawInput(int width, int height, int fps) {
  return {"-hide_banner", "-loglevel", "error", "-y",          "-f", "rawvideo", "-pix_fmt",
          "rgb24",        "-s",        sizeArgument(width, height), "-r", std::to_string(fps),
          "-i",           "-"};
}

bool writeSound(OfflineShow& show, const fs::path& path) {
  SoundProgress progress;
  const RenderedSong sound = show.renderSound(&progress);
  std::fprintf(stderr, "\rrendering the sound: done\n");
  std::string error;
  if (!writeWavFile(path.string(), sound.blocks, sound.framesPerBlock, error)) {
    std::fprintf(stderr, "kylvander: cannot write \"%s\": %s\n", path.string().c_str(),
                 error.c_str());
    return false;
  }
  return true;
}

// Draws every frame of the show into the target and hands it to ffmpeg.
bool drawAllFrames(OfflineShow& show, OffscreenTarget& target, int fps, FfmpegPipe& ffmpeg) {
  const uint32_t frames = show.frameCount(fps);
  FrameProgress progress(frames);
  std::vector<uint8_t> rgb;
  for (uint32_t k = 0; k < frames; ++k) {
    target.beginFrame();
    show.drawFrame(double(k) / fps);
    target.read(&rgb);
    if (!ffmpeg.write(rgb)) {
      progress.finish();
      std::fprintf(stderr, "kylvander: ffmpeg stopped taking frames\n");
      return false;
    }
    progress.update(k + 1);
  }
  progress.finish();
  return true;
}

bool checkSize(const Options& options, bool even) {
  if (even && (options.width % 2 != 0 || options.height % 2 != 0)) {
    std::fprintf(stderr, "kylvander: video sizes must be even (got %dx%d)\n", options.width,
                 options.height);
    return false;
  }
  return true;
}

int captureVideo(const Options& options, OfflineSetup& setup) {
  OffscreenTarget target(options.width, options.height);
  if (!target.ok()) {
    std::fprintf(stderr, "kylvander: %s\n", target.error().c_str());
    return 1;
  }
  const fs::path audio = fs::path(setup.output.string() + ".sound.wav");
  if (!writeSound(*setup.show, audio)) return 1;

  std::vector<std::string> args = rawInput(options.width, options.height, options.fps);
  args.insert(args.end(), {"-i", audio.string(), "-map", "0:v", "-map", "1:a"});
  std::string extension = setup.output.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  if (extension == ".mp4" || extension == ".mkv" || extension == ".mov" || extension == ".m4v")
    args.insert(args.end(), {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18", "-pix_fmt",
                             "yuv420p", "-c:a", "aac", "-b:a", "192k"});
  args.push_back(setup.output.string());

  FfmpegPipe ffmpeg;
  std::string error;
  bool ok = ffmpeg.open(args, &error);
  if (ok) ok = drawAllFrames(*setup.show, target, options.fps, ffmpeg);
  if (!ffmpeg.close(&error)) ok = false;
  std::error_code ignored;
  fs::remove(audio, ignored);
  if (!ok) {
    if (!error.empty()) std::fprintf(stderr, "kylvander: %s\n", error.c_str());
    return 1;
  }
  std::printf("kylvander: wrote %s\n", setup.output.string().c_str());
  return 0;
}

int captureFrames(const Options& options, OfflineSetup& setup) {
  std::error_code fsError;
  fs::create_directories(setup.output, fsError);
  if (fsError) {
    std::fprintf(stderr, "kylvander: cannot make the folder \"%s\": %s\n",
                 setup.output.string().c_str(), fsError.message().c_str());
    return 1;
  }
  OffscreenTarget target(options.width, options.height);
  if (!target.ok()) {
    std::fprintf(stderr, "kylvander: %s\n", target.error().c_str());
    return 1;
  }
  if (!writeSound(*setup.show, setup.output / "sound.wav")) return 1;

  // The image muxer reads % as a pattern: the folder's own are escaped.
  std::string pattern;
  for (char c : (setup.output / "frame").string()) pattern += c == '%' ? "%%" : std::string(1, c);
  pattern += "%05d.png";
  std::vector<std::string> args = rawInput(options.width, options.height, options.fps);
  args.insert(args.end(), {"-start_number", "0", "-f", "image2", pattern});

  FfmpegPipe ffmpeg;
  std::string error;
  bool ok = ffmpeg.open(args, &error);
  if (ok) ok = drawAllFrames(*setup.show, target, options.fps, ffmpeg);
  if (!ffmpeg.close(&error)) ok = false;
  if (!ok) {
    if (!error.empty()) std::fprintf(stderr, "kylvander: %s\n", error.c_str());
    return 1;
  }
  std::printf("kylvander: wrote frames and sound to %s\n", setup.output.string().c_str());
  return 0;
}

}  // namespace

int runCapture(const Options& options) {
  const bool toFolder = isDirectoryOutput(options.output);
  if (!checkSize(options, !toFolder)) return 1;
  if (!FfmpegPipe::available()) {
    std::fputs(FfmpegPipe::missingMessage(), stderr);
    return 1;
  }
  OfflineSetup setup;
  if (!setUp(options, &setup)) return 1;
  return toFolder ? captureFrames(options, setup) : captureVideo(options, setup);
}

int runScreenshot(const Options& options) {
  if (!FfmpegPipe::available()) {
    std::fputs(FfmpegPipe::missingMessage(), stderr);
    return 1;
  }
  if (!(options.screenshotSeconds >= 0.0)) {
    std::fprintf(stderr, "kylvander: the screenshot moment must be 0 seconds or later\n");
    return 1;
  }
  OfflineSetup setup;
  if (!setUp(options, &setup)) return 1;
  OfflineShow& show = *setup.show;

  // The frame on screen at that moment in a capture at this rate.
  const double frame = std::floor(options.screenshotSeconds * options.fps + 1e-9);
  const uint32_t frames = show.frameCount(options.fps);
  if (frame >= double(frames)) {
    std::fprintf(stderr, "kylvander: the show ends after %.3f seconds\n",
                 double(frames) / options.fps);
    return 1;
  }
  OffscreenTarget target(options.width, options.height);
  if (!target.ok()) {
    std::fprintf(stderr, "kylvander: %s\n", target.error().c_str());
    return 1;
  }
  // Scenes carry state from frame to frame: every frame before is drawn too,
  // with its pixels discarded.
  const uint32_t last = uint32_t(frame);
  for (uint32_t k = 0; k < last; ++k) {
    target.beginDiscardedFrame();
    show.drawFrame(double(k) / options.fps);
  }
  target.beginFrame();
  show.drawFrame(double(last) / options.fps);
  std::vector<uint8_t> rgb;
  target.read(&rgb);

  std::vector<std::string> args = rawInput(options.width, options.height, options.fps);
  args.insert(args.end(), {"-frames:v", "1", "-update", "1", "-f", "image2",
                           setup.output.string()});
  FfmpegPipe ffmpeg;
  std::string error;
  bool ok = ffmpeg.open(args, &error) && ffmpeg.write(rgb);
  if (!ffmpeg.close(&error)) ok = false;
  if (!ok) {
    std::fprintf(stderr, "kylvander: cannot write \"%s\": %s\n", setup.output.string().c_str(),
                 error.c_str());
    return 1;
  }
  return 0;
}

int runBenchmark(const Options& options) {
  constexpr double kSecondsPerScene = 3.0;
  constexpr int kFps = 60;

  if (!enterDataDirectory(options)) return 1;
  // The window first: the scenes are built on its context.
  std::unique_ptr<GLWindow> window;
  try {
    window = std::make_unique<GLWindow>(640, 480, false);
  } catch (const platform::PlatformError& e) {
    std::fprintf(stderr, "kylvander: no OpenGL window: %s\n", e.what());
    return 1;
  }
  OfflineSetup setup;
  if (!loadShow(options, &setup)) return 1;
  const bool unthrottled = platform::setSwapWaitsForDisplay(false);
  OfflineShow& show = *setup.show;
  const SceneSchedule schedule;

  std::printf("frame times, %d frames of virtual time per scene at 640x480%s\n",
              int(kSecondsPerScene * kFps),
              unthrottled ? "" : " (the swap interval could not be changed)");
  std::printf("scene   fps     median ms  worst ms\n");
  std::vector<double> times;
  for (int scene = 0; scene < kSceneCount; ++scene) {
    int position = 0;
    while (position <= SceneSchedule::kLastPlayedPosition && schedule.sceneAt(position) != scene)
      ++position;
    const double start = show.secondsOfPosition(std::max(position, options.startPosition));
    times.clear();
    Stopwatch total;
    for (int k = 0; k < int(kSecondsPerScene * kFps) && !window->quitRequested(); ++k) {
      Stopwatch frame;
      show.drawScene(scene, start + double(k) / kFps);
      glFinish();
      window->endFrame();
      times.push_back(frame.seconds());
    }
    const double elapsed = total.seconds();
    if (times.empty()) break;
    std::sort(times.begin(), times.end());
    std::printf("%5d  %6.1f  %9.2f  %8.2f\n", scene, double(times.size()) / elapsed,
                times[times.size() / 2] * 1000.0, times.back() * 1000.0);
    std::fflush(stdout);
  }
  std::printf("start-up (scene construction): %.2f s\n", show.sceneConstructionSeconds());
  return 0;
}
