#include "PageFrames.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gfx/HiddenGlContext.h"
#include "platform/Window.h"
#include "shell/MomentFrames.h"
#include "PageFrameModes.h"

namespace {

// Frames drawn per animation frame.
constexpr int kFramesPerCallback = 4;

// What lives between animation frames.
struct FrameRun {
  std::unique_ptr<HiddenGlContext> context;
  std::unique_ptr<MomentFrames> frames;
};

bool step(void* user) {
  auto* run = static_cast<FrameRun*>(user);
  if (run->frames->step(kFramesPerCallback)) return true;
  framesDone();
  delete run;
  return false;
}

}  // namespace

int runPageFrames(int argc, char** argv) {
  if (argc < 5) return framesFailed("--page-frames FPS DATA SECONDS...");
  if (!enterPageData(argv[3])) return framesFailed("no data folder");
  std::vector<double> moments;
  for (int i = 4; i < argc; ++i) moments.push_back(std::atof(argv[i]));
  auto run = std::make_unique<FrameRun>();
  try {
    run->context = std::make_unique<HiddenGlContext>(MomentFrames::kWidth, MomentFrames::kHeight);
    run->frames = std::make_unique<MomentFrames>(
        std::atoi(argv[2]), moments, [moments](size_t index, const std::vector<uint8_t>& rgb) {
          handPicture(index, moments[index], MomentFrames::kWidth, MomentFrames::kHeight, rgb);
        });
  } catch (const std::exception& e) {
    return framesFailed(e.what());
  }
  platform::runFrameLoop(&step, run.release());
  return 0;
}
