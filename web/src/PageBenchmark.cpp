#include "PageBenchmark.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Gl.h"
#include "platform/Stopwatch.h"
#include "platform/Window.h"
#include "platform/web/WebPage.h"
#include "shell/BenchmarkTimeline.h"
#include "shell/DataDirectory.h"
#include "shell/GLWindow.h"
#include "shell/OfflineSetup.h"
#include "shell/OfflineShow.h"
#include "shell/ShellError.h"

namespace {

constexpr int kFps = BenchmarkTimeline::kFps;
constexpr int kFramesPerScene = BenchmarkTimeline::kFramesPerScene;
// Drawing time per animation frame before the page gets control back.
constexpr double kRunSeconds = 0.05;
// Rows after the scenes: frames with next to nothing in them, the floor
// that the browser's drawing sets: a clear alone, and a clear with four
// pictures over the whole frame (the show's background passes).
const char* const kProbes[] = {"clear", "pictures"};
constexpr int kProbeCount = 2;

struct BenchmarkRun {
  std::unique_ptr<GLWindow> window;
  std::unique_ptr<OfflineShow> show;
  std::unique_ptr<BenchmarkTimeline> timeline;
  bool canDiscard = false;
  GLuint picture = 0;
  uint32_t k = 0;    // the show's frame
  int timing = -1;   // the scene being timed, -1 between stretches
  int probe = -1;    // once the show is over: the probe being timed
  int probeFrame = 0;
  // Per frame of the row being timed: the whole, the calls, and the wait for
  // the GPU process.
  std::vector<double> times, calls, finishes;
};

// Browsers make glFinish a flush; reading a pixel back waits until the GPU
// process has drawn everything before it.
void waitForGpu() {
  uint8_t pixel[4];
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

// A 512x512 picture of soft stripes.
GLuint makePicture() {
  std::vector<uint8_t> texels(512 * 512 * 4);
  for (size_t i = 0; i < texels.size(); ++i) texels[i] = uint8_t((i * 7) ^ (i >> 11));
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 512, 512, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  return name;
}

void drawProbe(int probe, GLuint picture) {
  glClearColor(0.1f, 0.2f, 0.3f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (probe == 0) return;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, picture);
  for (int i = 0; i < 4; ++i) {
    if (i == 1) {
      glEnable(GL_BLEND);
      glBlendFunc(GL_ONE, GL_ONE);
    }
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex2f(-1, -1);
    glTexCoord2f(1, 1);
    glVertex2f(1, -1);
    glTexCoord2f(1, 0);
    glVertex2f(1, 1);
    glTexCoord2f(0, 0);
    glVertex2f(-1, 1);
    glEnd();
  }
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();
}

double medianMs(std::vector<double>& values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2] * 1000.0;
}

// The row's line, once its frames are drawn.
void report(BenchmarkRun& run, const char* row) {
  if (run.times.empty()) return;
  double total = 0.0;
  for (double t : run.times) total += t;
  const double median = medianMs(run.times);
  std::printf("%5s  %6.1f  %9.2f  %8.2f  %8.2f  %9.2f\n", row, double(run.times.size()) / total,
              median, run.times.back() * 1000.0, medianMs(run.calls), medianMs(run.finishes));
  std::fflush(stdout);
  run.times.clear();
  run.calls.clear();
  run.finishes.clear();
}

void reportScene(BenchmarkRun& run, int scene) {
  if (scene < 0) return;
  char row[16];
  std::snprintf(row, sizeof row, "%d", scene);
  report(run, row);
}

// One timed frame: drawn, then waited for.
void timeFrame(BenchmarkRun& run, double seconds) {
  Stopwatch frame;
  if (run.probe < 0)
    run.show->drawFrame(seconds);
  else
    drawProbe(run.probe, run.picture);
  const double calls = frame.seconds();
  waitForGpu();
  const double finished = frame.seconds();
  run.window->endFrame();
  run.times.push_back(frame.seconds());
  run.calls.push_back(calls);
  run.finishes.push_back(finished - calls);
}

// The probes' rows, after the show; false once they are done.
bool stepProbe(BenchmarkRun& run) {
  if (run.probeFrame == kFramesPerScene) {
    report(run, kProbes[run.probe]);
    run.probeFrame = 0;
    if (++run.probe == kProbeCount) return false;
  }
  timeFrame(run, 0.0);
  ++run.probeFrame;
  return true;
}

// The show's next frame, as "kylvander --benchmark" draws it; false once
// the show is over.
bool stepShow(BenchmarkRun& run) {
  const double seconds = double(run.k) / kFps;
  if (!run.show->playing(seconds)) {
    reportScene(run, run.timing);
    return false;
  }
  const int scene = run.timeline->timedScene(seconds);
  if (scene != run.timing) reportScene(run, run.timing);
  run.timing = scene;
  if (scene < 0)
    drawDiscardedFrame(*run.show, seconds, run.canDiscard);
  else
    timeFrame(run, seconds);
  ++run.k;
  return true;
}

bool step(void* user) {
  auto* run = static_cast<BenchmarkRun*>(user);
  Stopwatch budget;
  while (budget.seconds() < kRunSeconds) {
    bool going = !run->window->quitRequested();
    if (going && run->probe < 0 && !stepShow(*run)) run->probe = 0;
    if (going && run->probe >= 0) going = stepProbe(*run);
    if (!going) {
      std::printf("start-up (scene construction): %.2f s\n", run->show->sceneConstructionSeconds());
      std::fflush(stdout);
      platform::web::pageEvent("benchmark-done", "");
      delete run;
      return false;
    }
  }
  return true;
}

int fail(const std::string& text) {
  std::fprintf(stderr, "kylvander: %s\n", text.c_str());
  platform::web::pageEvent("benchmark-failed", text.c_str());
  return 1;
}

}  // namespace

int runPageBenchmark(int argc, char** argv) {
  if (argc < 3) return fail("--page-benchmark DATA");
  Options options;
  options.dataDir = argv[2];
  auto run = std::make_unique<BenchmarkRun>();
  try {
    enterDataDirectory(options);
    run->window = std::make_unique<GLWindow>(640, 480, false);
    run->show = loadOfflineShow(options);
    run->timeline = std::make_unique<BenchmarkTimeline>(*run->show, options.startPosition);
    run->canDiscard = canDiscardRasterizer();
    run->picture = makePicture();
  } catch (const platform::PlatformError& e) {
    return fail(std::string("no WebGL window: ") + e.what());
  } catch (const ShellError& e) {
    return fail(e.what());
  }
  for (std::vector<double>* v : {&run->times, &run->calls, &run->finishes}) v->reserve(kFramesPerScene);
  std::printf("frame times, %d frames of virtual time per scene at 640x480\n", kFramesPerScene);
  std::printf("scene   fps     median ms  worst ms  calls ms  finish ms\n");
  std::fflush(stdout);
  platform::runFrameLoop(&step, run.release());
  return 0;
}
