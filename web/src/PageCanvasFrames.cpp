#include "PageCanvasFrames.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/Gl.h"
#include "shell/GLWindow.h"
#include "shell/OfflineShow.h"
#include "shell/SongFile.h"
#include "PageFrameModes.h"

namespace {

// Frames drawn per animation frame: few, since each one fills the canvas
// at its full size.
constexpr int kFramesPerCallback = 2;

// What lives between animation frames.
struct CanvasRun {
  std::unique_ptr<GLWindow> window;
  std::unique_ptr<OfflineShow> show;
  int fps = 1;
  std::vector<double> moments;
  std::vector<uint32_t> momentFrames;
  uint32_t next = 0;
  uint32_t last = 0;
  std::vector<uint8_t> bottomUp;
  std::vector<uint8_t> rgb;
};

// The canvas as drawn now, top row first.
void readCanvas(CanvasRun& run, int width, int height) {
  const size_t row = size_t(width) * 3;
  run.bottomUp.resize(row * size_t(height));
  run.rgb.resize(run.bottomUp.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, run.bottomUp.data());
  for (int y = 0; y < height; ++y)
    std::memcpy(run.rgb.data() + size_t(y) * row,
                run.bottomUp.data() + size_t(height - 1 - y) * row, row);
}

// The browser shows the canvas, and clears it, when the animation frame
// ends: each moment is read back in the animation frame that drew it.
bool step(void* user) {
  auto* run = static_cast<CanvasRun*>(user);
  for (int n = 0; n < kFramesPerCallback && run->next <= run->last; ++n) {
    const uint32_t k = run->next++;
    run->show->drawFrame(double(k) / run->fps);
    for (size_t i = 0; i < run->momentFrames.size(); ++i) {
      if (run->momentFrames[i] != k) continue;
      int width = 0;
      int height = 0;
      platform::clientSize(run->window->window(), &width, &height);
      readCanvas(*run, width, height);
      handPicture(i, run->moments[i], width, height, run->rgb);
    }
  }
  if (run->next <= run->last) return true;
  framesDone();
  run->show.reset();
  run->window->destroy();
  delete run;
  return false;
}

}  // namespace

int runPageCanvasFrames(int argc, char** argv) {
  if (argc < 5) return framesFailed("--page-canvas-frames FPS DATA SECONDS...");
  if (!enterPageData(argv[3])) return framesFailed("no data folder");
  auto run = std::make_unique<CanvasRun>();
  run->fps = std::atoi(argv[2]);
  if (run->fps < 1) return framesFailed("the frame rate must be 1 or more");
  try {
    run->window = std::make_unique<GLWindow>(640, 480, false);
    run->show = std::make_unique<OfflineShow>(readSongFile(kSongFileName), 0);
  } catch (const std::exception& e) {
    return framesFailed(e.what());
  }
  const uint32_t frames = run->show->frameCount(run->fps);
  for (int i = 4; i < argc; ++i) {
    const double seconds = std::atof(argv[i]);
    // The frame on screen at that moment, as --screenshot takes it.
    const double frame = std::floor(seconds * run->fps + 1e-9);
    if (!(frame >= 0.0) || frame >= double(frames))
      return framesFailed("the moment " + std::string(argv[i]) + " s is outside the show");
    run->moments.push_back(seconds);
    run->momentFrames.push_back(uint32_t(frame));
    if (uint32_t(frame) > run->last) run->last = uint32_t(frame);
  }
  platform::runFrameLoop(&step, run.release());
  return 0;
}
