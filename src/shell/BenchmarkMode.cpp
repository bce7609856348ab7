// kylvander --benchmark: the show at 60 frames per second of virtual time,
// drawn flat out in the show's window. The first three seconds each scene
// plays are timed (frame rate, median and worst frame time); every other
// frame is drawn with its pixels discarded, only for the state it leaves in
// the scenes, so the timed frames are the frames the live show draws at
// those moments. Then the start-up (scene construction) time.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Gl.h"
#include "platform/Stopwatch.h"
#include "platform/Window.h"
#include "shell/BenchmarkTimeline.h"
#include "shell/DataDirectory.h"
#include "shell/GLWindow.h"
#include "shell/Modes.h"
#include "shell/OfflineSetup.h"
#include "shell/ShellError.h"

int runBenchmark(const Options& options) {
  constexpr int kFps = BenchmarkTimeline::kFps;

  return reportShellErrors([&] {
    enterDataDirectory(options);
    // The window first: the scenes are built on its context.
    std::unique_ptr<GLWindow> window;
    try {
      window = std::make_unique<GLWindow>(640, 480, false);
    } catch (const platform::PlatformError& e) {
      throw ShellError(std::string("no OpenGL window: ") + e.what());
    }
    const std::unique_ptr<OfflineShow> show = loadOfflineShow(options);
    const bool unthrottled = platform::setSwapWaitsForDisplay(false);
    const bool canDiscard = canDiscardRasterizer();
    const BenchmarkTimeline timeline(*show, options.startPosition);

    std::printf("frame times, %d frames of virtual time per scene at 640x480%s\n",
                BenchmarkTimeline::kFramesPerScene,
                unthrottled ? "" : " (the swap interval could not be changed)");
    std::printf("scene   fps     median ms  worst ms\n");
    // A scene's line, once its stretch is over (the scenes in the order they play).
    std::vector<double> times;
    const auto report = [&](int scene) {
      if (times.empty()) return;
      double total = 0.0;
      for (double t : times) total += t;
      std::sort(times.begin(), times.end());
      std::printf("%5d  %6.1f  %9.2f  %8.2f\n", scene, double(times.size()) / total,
                  times[times.size() / 2] * 1000.0, times.back() * 1000.0);
      std::fflush(stdout);
      times.clear();
    };

    int timing = -1;
    for (uint32_t k = 0; !window->quitRequested(); ++k) {
      const double seconds = double(k) / kFps;
      if (!show->playing(seconds)) break;
      const int scene = timeline.timedScene(seconds);
      if (scene != timing) report(timing);
      timing = scene;
      if (scene < 0) {
        drawDiscardedFrame(*show, seconds, canDiscard);
        continue;
      }
      Stopwatch frame;
      show->drawFrame(seconds);
      glFinish();
      window->endFrame();
      times.push_back(frame.seconds());
    }
    report(timing);
    std::printf("start-up (scene construction): %.2f s\n", show->sceneConstructionSeconds());
    return 0;
  });
}
