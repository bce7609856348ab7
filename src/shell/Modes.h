// The program's modes besides the show. Each returns the process exit code.
#pragma once

#include "shell/Options.h"

int runShow(const Options& options);
int runRenderAudio(const Options& options);
int runDumpTextures(const Options& options);
int runCapture(const Options& options);
int runScreenshot(const Options& options);
int runBenchmark(const Options& options);
// Native builds only (it compiles song sources): src/shell/playsong.
int runPlaySong(const Options& options);
