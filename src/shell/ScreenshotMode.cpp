// kylvander --screenshot SECONDS OUT.png [--fps N] [--size WxH]: the frame a
// capture at that rate draws for that moment. The frames before it are drawn
// too, with their pixels discarded, since the scenes carry state from frame
// to frame (clocks, particles, random draws).
#include <cmath>
#include <cstdio>
#include <vector>

#include "shell/FfmpegPipe.h"
#include "shell/FfmpegRun.h"
#include "shell/Modes.h"
#include "shell/OfflineSetup.h"
#include "shell/OffscreenTarget.h"
#include "shell/ShellError.h"

int runScreenshot(const Options& options) {
  return reportShellErrors([&] {
    FfmpegPipe::requireAvailable();
    if (!(options.screenshotSeconds >= 0.0))
      throw ShellError("the screenshot moment must be 0 seconds or later");
    OfflineSetup setup;
    setUpOffline(options, &setup);
    OfflineShow& show = *setup.show;

    // The frame on screen at that moment in a capture at this rate.
    const double frame = std::floor(options.screenshotSeconds * options.fps + 1e-9);
    const uint32_t frames = show.frameCount(options.fps);
    if (frame >= double(frames)) {
      char text[64];
      std::snprintf(text, sizeof text, "the show ends after %.3f seconds",
                    double(frames) / options.fps);
      throw ShellError(text);
    }
    OffscreenTarget target(options.width, options.height);
    const uint32_t last = uint32_t(frame);
    for (uint32_t k = 0; k < last; ++k) {
      target.beginDiscardedFrame();
      show.drawFrame(double(k) / options.fps);
    }
    target.beginFrame();
    show.drawFrame(double(last) / options.fps);
    std::vector<uint8_t> rgb;
    target.read(&rgb);

    std::vector<std::string> args = rawFrameInput(options.width, options.height, options.fps);
    args.insert(args.end(),
                {"-frames:v", "1", "-update", "1", "-f", "image2", setup.output.string()});
    try {
      runFfmpeg(args, 1, [&](uint32_t) -> const std::vector<uint8_t>& { return rgb; });
    } catch (const ShellError& e) {
      throw ShellError("cannot write \"" + setup.output.string() + "\": " + e.what());
    }
    return 0;
  });
}
