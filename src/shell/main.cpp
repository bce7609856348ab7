// kylvander: the show, and the offline modes that capture, render or dump it.
#include <cstdio>

#include "platform/Window.h"
#include "shell/CommandLine.h"
#include "shell/Modes.h"
#include "shell/Verbose.h"

int main(int argc, char** argv) {
  Options options;
  try {
    options = parseCommandLine(argc, argv);
  } catch (const CommandLineError& error) {
    std::fprintf(stderr, "kylvander: %s\n\n%s", error.what(), usageText());
    return 2;
  }
  setVerbose(options.verbose);
  // Only the show needs a screen; the other modes draw into memory (or, the
  // song player, nothing).
  if (options.mode != Options::Mode::Show) platform::allowVideoWithoutDisplay();
  switch (options.mode) {
    case Options::Mode::Help:
      std::fputs(usageText(), stdout);
      return 0;
    case Options::Mode::Show: return runShow(options);
    case Options::Mode::RenderAudio: return runRenderAudio(options);
    case Options::Mode::DumpTextures: return runDumpTextures(options);
    case Options::Mode::Capture: return runCapture(options);
    case Options::Mode::Screenshot: return runScreenshot(options);
    case Options::Mode::Benchmark: return runBenchmark(options);
    case Options::Mode::PlaySong:
#ifdef KYL_PLAY_SONG
      return runPlaySong(options);
#else
      std::fputs("kylvander: this build has no song player (--play-song)\n", stderr);
      return 2;
#endif
  }
  return 2;
}
