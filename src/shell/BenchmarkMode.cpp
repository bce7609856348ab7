// kylvander --benchmark: every scene drawn flat out in the show's window for
// three seconds of virtual time, with the median and worst frame times and
// the start-up (scene construction) time.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Gl.h"
#include "platform/Stopwatch.h"
#include "platform/Window.h"
#include "shell/DataDirectory.h"
#include "shell/GLWindow.h"
#include "shell/Modes.h"
#include "shell/OfflineError.h"
#include "shell/OfflineSetup.h"
#include "shell/SceneSchedule.h"

int runBenchmark(const Options& options) {
  constexpr double kSecondsPerScene = 3.0;
  constexpr int kFps = 60;

  if (!enterDataDirectory(options)) return 1;
  return reportOfflineErrors([&] {
    // The window first: the scenes are built on its context.
    std::unique_ptr<GLWindow> window;
    try {
      window = std::make_unique<GLWindow>(640, 480, false);
    } catch (const platform::PlatformError& e) {
      throw OfflineError(std::string("no OpenGL window: ") + e.what());
    }
    const std::unique_ptr<OfflineShow> show = loadOfflineShow(options);
    const bool unthrottled = platform::setSwapWaitsForDisplay(false);
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
      const double start = show->secondsOfPosition(std::max(position, options.startPosition));
      times.clear();
      Stopwatch total;
      for (int k = 0; k < int(kSecondsPerScene * kFps) && !window->quitRequested(); ++k) {
        Stopwatch frame;
        show->drawScene(scene, start + double(k) / kFps);
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
    std::printf("start-up (scene construction): %.2f s\n", show->sceneConstructionSeconds());
    return 0;
  });
}
