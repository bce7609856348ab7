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
#include "shell/DataDirectory.h"
#include "shell/GLWindow.h"
#include "shell/OfflineError.h"
#include "shell/OfflineSetup.h"
#include "shell/SceneSchedule.h"

namespace {

constexpr int kFps = 60;
constexpr int kFramesPerScene = 3 * kFps;
// Drawing time per animation frame before the page gets control back.
constexpr double kRunSeconds = 0.05;
// Rows after the scenes: frames with next to nothing in them, the floor
// that the browser's drawing sets: a clear alone, and a clear with four
// pictures over the whole frame (the show's background passes).
const char* const kProbes[] = {"clear", "pictures"};
constexpr int kRows = kSceneCount + 2;

struct BenchmarkRun {
  std::unique_ptr<GLWindow> window;
  std::unique_ptr<OfflineShow> show;
  SceneSchedule schedule;
  GLuint picture = 0;
  int scene = -1;  // the row: a scene, then the probes
  int frame = 0;
  double startSeconds = 0.0;
  double drawingSeconds = 0.0;
  // Per frame: the whole, the calls, and the wait for the GPU process.
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

// The first moment of the scene's first order step.
double sceneStart(const BenchmarkRun& run, int scene) {
  int position = 0;
  while (position <= SceneSchedule::kLastPlayedPosition && run.schedule.sceneAt(position) != scene)
    ++position;
  return run.show->secondsOfPosition(position);
}

double medianMs(std::vector<double>& values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2] * 1000.0;
}

void printScene(BenchmarkRun& run) {
  const double median = medianMs(run.times);
  char row[16];
  if (run.scene < kSceneCount)
    std::snprintf(row, sizeof row, "%5d", run.scene);
  else
    std::snprintf(row, sizeof row, "%s", kProbes[run.scene - kSceneCount]);
  std::printf("%s  %6.1f  %9.2f  %8.2f  %8.2f  %9.2f\n", row,
              double(run.times.size()) / run.drawingSeconds, median, run.times.back() * 1000.0,
              medianMs(run.calls), medianMs(run.finishes));
  std::fflush(stdout);
}

bool step(void* user) {
  auto* run = static_cast<BenchmarkRun*>(user);
  Stopwatch budget;
  while (budget.seconds() < kRunSeconds) {
    if (run->scene < 0 || run->frame == kFramesPerScene) {
      if (run->scene >= 0) printScene(*run);
      if (++run->scene == kRows || run->window->quitRequested()) {
        std::printf("start-up (scene construction): %.2f s\n", run->show->sceneConstructionSeconds());
        std::fflush(stdout);
        platform::web::pageEvent("benchmark-done", "");
        delete run;
        return false;
      }
      run->frame = 0;
      run->drawingSeconds = 0.0;
      run->times.clear();
      run->calls.clear();
      run->finishes.clear();
      if (run->scene < kSceneCount) run->startSeconds = sceneStart(*run, run->scene);
    }
    Stopwatch frame;
    if (run->scene < kSceneCount)
      run->show->drawScene(run->scene, run->startSeconds + double(run->frame) / kFps);
    else
      drawProbe(run->scene - kSceneCount, run->picture);
    const double calls = frame.seconds();
    waitForGpu();
    const double finished = frame.seconds();
    run->window->endFrame();
    const double seconds = frame.seconds();
    run->times.push_back(seconds);
    run->calls.push_back(calls);
    run->finishes.push_back(finished - calls);
    run->drawingSeconds += seconds;
    ++run->frame;
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
  if (!enterDataDirectory(options)) return fail("no data folder");
  auto run = std::make_unique<BenchmarkRun>();
  try {
    run->window = std::make_unique<GLWindow>(640, 480, false);
    run->show = loadOfflineShow(options);
    run->picture = makePicture();
  } catch (const platform::PlatformError& e) {
    return fail(std::string("no WebGL window: ") + e.what());
  } catch (const OfflineError& e) {
    return fail(e.what());
  }
  for (std::vector<double>* v : {&run->times, &run->calls, &run->finishes}) v->reserve(kFramesPerScene);
  std::printf("frame times, %d frames of virtual time per scene at 640x480\n", kFramesPerScene);
  std::printf("scene   fps     median ms  worst ms  calls ms  finish ms\n");
  std::fflush(stdout);
  platform::runFrameLoop(&step, run.release());
  return 0;
}
