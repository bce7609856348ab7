// kylvander --capture: the whole show drawn on a virtual clock,
//   --capture OUT.mp4 [--fps N] [--size WxH]   to a video with its sound
//   --capture DIR/                             to numbered PNG frames and a WAV
// Frame k is drawn for the moment k / N with the heard ticks that moment has
// in a live run, so captures do not depend on the machine's speed, and two
// captures of the same stretch are identical.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "music/WavFile.h"
#include "shell/FfmpegPipe.h"
#include "shell/FfmpegRun.h"
#include "shell/FrameProgress.h"
#include "shell/Modes.h"
#include "shell/OfflineSetup.h"
#include "shell/OffscreenTarget.h"
#include "shell/ShellError.h"

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

bool isDirectoryOutput(const std::string& output) {
  if (output.empty()) return false;
  const char last = output.back();
  std::error_code error;
  return last == '/' || last == '\\' || fs::is_directory(output, error);
}

void writeSound(OfflineShow& show, const fs::path& path) {
  SoundProgress progress;
  const RenderedSong sound = show.renderSound(&progress);
  std::fprintf(stderr, "\rrendering the sound: done\n");
  std::string error;
  if (!writeWavFile(path.string(), sound.blocks, sound.framesPerBlock, error))
    throw ShellError("cannot write \"" + path.string() + "\": " + error);
}

// Draws every frame of the show into the target and hands it to ffmpeg, run
// with `outputArguments` after the raw frames' input.
void drawAllFrames(const Options& options, OfflineShow& show, OffscreenTarget& target,
                   const std::vector<std::string>& outputArguments) {
  std::vector<std::string> args = rawFrameInput(options.width, options.height, options.fps);
  args.insert(args.end(), outputArguments.begin(), outputArguments.end());
  const uint32_t frames = show.frameCount(options.fps);
  FrameProgress progress(frames);
  std::vector<uint8_t> rgb;
  const auto draw = [&](uint32_t k) -> const std::vector<uint8_t>& {
    target.beginFrame();
    show.drawFrame(double(k) / options.fps);
    target.read(&rgb);
    return rgb;
  };
  try {
    runFfmpeg(args, frames, draw, [&](uint32_t done) { progress.update(done); });
  } catch (const ShellError&) {
    progress.finish();
    throw;
  }
  progress.finish();
}

int captureVideo(const Options& options, OfflineSetup& setup) {
  OffscreenTarget target(options.width, options.height);
  const fs::path audio = fs::path(setup.output.string() + ".sound.wav");
  // The sound is ffmpeg's second input; it goes once ffmpeg is done.
  struct RemoveAfter {
    fs::path path;
    ~RemoveAfter() {
      std::error_code ignored;
      fs::remove(path, ignored);
    }
  } removeAudio{audio};
  writeSound(*setup.show, audio);

  std::vector<std::string> args = {"-i", audio.string(), "-map", "0:v", "-map", "1:a"};
  std::string extension = setup.output.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  if (extension == ".mp4" || extension == ".mkv" || extension == ".mov" || extension == ".m4v")
    args.insert(args.end(), {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18", "-pix_fmt",
                             "yuv420p", "-c:a", "aac", "-b:a", "192k"});
  args.push_back(setup.output.string());
  drawAllFrames(options, *setup.show, target, args);
  std::printf("kylvander: wrote %s\n", setup.output.string().c_str());
  return 0;
}

int captureFrames(const Options& options, OfflineSetup& setup) {
  std::error_code fsError;
  fs::create_directories(setup.output, fsError);
  if (fsError)
    throw ShellError("cannot make the folder \"" + setup.output.string() +
                     "\": " + fsError.message());
  OffscreenTarget target(options.width, options.height);
  writeSound(*setup.show, setup.output / "sound.wav");

  // The image muxer reads % as a pattern: the folder's own are escaped.
  std::string pattern;
  for (char c : (setup.output / "frame").string()) pattern += c == '%' ? "%%" : std::string(1, c);
  pattern += "%05d.png";
  drawAllFrames(options, *setup.show, target, {"-start_number", "0", "-f", "image2", pattern});
  std::printf("kylvander: wrote frames and sound to %s\n", setup.output.string().c_str());
  return 0;
}

}  // namespace

int runCapture(const Options& options) {
  return reportShellErrors([&] {
    const bool toFolder = isDirectoryOutput(options.output);
    if (!toFolder && (options.width % 2 != 0 || options.height % 2 != 0))
      throw ShellError("video sizes must be even (got " + std::to_string(options.width) + "x" +
                       std::to_string(options.height) + ")");
    FfmpegPipe::requireAvailable();
    OfflineSetup setup;
    setUpOffline(options, &setup);
    return toFolder ? captureFrames(options, setup) : captureVideo(options, setup);
  });
}
