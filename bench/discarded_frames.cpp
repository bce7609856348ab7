// What a frame costs when its pixels are discarded (the frames a screenshot
// draws before its moment), per scene, next to a frame drawn in full at
// 640x480 and read back. CPU time of the whole process (the driver's threads
// included) and wall time, for 180 frames of virtual time per scene.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "gfx/HiddenGlContext.h"
#include "platform/Stopwatch.h"
#include "shell/DataDirectory.h"
#include "shell/OfflineShow.h"
#include "shell/OffscreenTarget.h"
#include "shell/SceneSchedule.h"
#include "shell/SongFile.h"

namespace {

double processSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

}  // namespace

int main() {
  constexpr int kFrames = 180;
  constexpr int kFps = 60;
  enterDataDirectory(Options{});
  HiddenGlContext context(64, 48);
  OfflineShow show(readSongFile(kSongFileName), 0);
  OffscreenTarget target(640, 480);
  const SceneSchedule schedule;
  std::vector<uint8_t> rgb;
  std::printf("ms per frame      discarded (cpu, wall)    drawn and read (cpu, wall)\n");
  for (int scene = 0; scene < kSceneCount; ++scene) {
    int position = 0;
    while (schedule.sceneAt(position) != scene) ++position;
    const double start = show.secondsOfPosition(position);
    double results[2][2];
    for (int drawn = 0; drawn < 2; ++drawn) {
      const double cpu = processSeconds();
      Stopwatch wall;
      for (int k = 0; k < kFrames; ++k) {
        if (drawn) {
          target.beginFrame();
        } else {
          target.beginDiscardedFrame();
        }
        show.drawFrame(start + double(k) / kFps);  // the scene plays then
        if (drawn) target.read(&rgb);
      }
      target.beginFrame();
      target.read(&rgb);
      results[drawn][0] = (processSeconds() - cpu) * 1000.0 / kFrames;
      results[drawn][1] = wall.seconds() * 1000.0 / kFrames;
    }
    std::printf("scene %d          %7.3f  %7.3f              %7.3f  %7.3f\n", scene,
                results[0][0], results[0][1], results[1][0], results[1][1]);
  }
  return 0;
}
