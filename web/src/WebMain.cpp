// The page's program. The page starts it with the arguments of its address:
// the show (--start, --verbose as on the desktop, the data under
// /content/show), again for each "play again", or for the page's tests the
// song rendered offline (--render-audio) and frames of the show on a virtual
// clock (--page-frames, PageFrames.h; on the canvas itself,
// --page-canvas-frames, PageCanvasFrames.h), and the frame-time benchmark
// (--page-benchmark, PageBenchmark.h).
#include <cstdio>
#include <cstring>
#include <string>

#include "base/Random.h"
#include "shell/CommandLine.h"
#include "shell/Modes.h"
#include "shell/Verbose.h"
#include "PageBenchmark.h"
#include "PageCanvasFrames.h"
#include "PageFrames.h"

int main(int argc, char** argv) {
  // Every run draws the main thread's sequence from its start, as a new
  // process of the desktop program does.
  base::srand(1);
  if (argc > 1 && std::strcmp(argv[1], "--page-frames") == 0) return runPageFrames(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--page-canvas-frames") == 0)
    return runPageCanvasFrames(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--page-benchmark") == 0) return runPageBenchmark(argc, argv);
  Options options;
  try {
    options = parseCommandLine(argc, argv);
  } catch (const CommandLineError& error) {
    std::fprintf(stderr, "kylvander: %s\n", error.what());
    return 2;
  }
  setVerbose(options.verbose);
  switch (options.mode) {
    case Options::Mode::Show: return runShow(options);
    case Options::Mode::RenderAudio: return runRenderAudio(options);
    default:
      std::fprintf(stderr, "kylvander: the page plays the show or renders its sound only\n");
      return 2;
  }
}
