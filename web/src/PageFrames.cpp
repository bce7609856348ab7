#include "PageFrames.h"

#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "gfx/HiddenGlContext.h"
#include "platform/Window.h"
#include "platform/web/WebPage.h"
#include "shell/DataDirectory.h"
#include "shell/MomentFrames.h"
#include "PagePicture.h"

namespace {

// Frames drawn per animation frame.
constexpr int kFramesPerCallback = 4;

using platform::web::pageEvent;

// What lives between animation frames.
struct FrameRun {
  std::unique_ptr<HiddenGlContext> context;
  std::unique_ptr<MomentFrames> frames;
};

bool step(void* user) {
  auto* run = static_cast<FrameRun*>(user);
  if (run->frames->step(kFramesPerCallback)) return true;
  pageEvent("frames-done", "");
  delete run;
  return false;
}

int fail(const std::string& text) {
  std::fprintf(stderr, "kylvander: %s\n", text.c_str());
  pageEvent("frames-failed", text.c_str());
  return 1;
}

}  // namespace

int runPageFrames(int argc, char** argv) {
  if (argc < 5) return fail("--page-frames FPS DATA SECONDS...");
  Options options;
  options.dataDir = argv[3];
  if (!enterDataDirectory(options)) return fail("no data folder");
  std::vector<double> moments;
  for (int i = 4; i < argc; ++i) moments.push_back(std::atof(argv[i]));
  auto run = std::make_unique<FrameRun>();
  try {
    run->context = std::make_unique<HiddenGlContext>(MomentFrames::kWidth, MomentFrames::kHeight);
  } catch (const std::exception& e) {
    return fail(e.what());
  }
  run->frames = std::make_unique<MomentFrames>(
      std::atoi(argv[2]), moments, [moments](size_t index, const std::vector<uint8_t>& rgb) {
        handPicture(index, moments[index], MomentFrames::kWidth, MomentFrames::kHeight, rgb);
      });
  if (!run->frames->ok()) return fail(run->frames->error());
  platform::runFrameLoop(&step, run.release());
  return 0;
}
