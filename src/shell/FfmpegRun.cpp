#include "shell/FfmpegRun.h"

#include "shell/FfmpegPipe.h"
#include "shell/ShellError.h"

std::vector<std::string> rawFrameInput(int width, int height, int fps) {
  return {"-hide_banner", "-loglevel", "error", "-y", "-f", "rawvideo", "-pix_fmt", "rgb24",
          "-s", std::to_string(width) + "x" + std::to_string(height), "-r", std::to_string(fps),
          "-i", "-"};
}

void runFfmpeg(const std::vector<std::string>& arguments, uint32_t count,
               const FrameSource& frame, const FrameDone& done) {
  FfmpegPipe ffmpeg;
  ffmpeg.open(arguments);
  for (uint32_t k = 0; k < count; ++k) {
    // ffmpeg has said why on its own standard error.
    if (!ffmpeg.write(frame(k))) throw ShellError("ffmpeg stopped taking frames");
    if (done) done(k + 1);
  }
  ffmpeg.close();
}
