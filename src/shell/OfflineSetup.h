// What every offline mode that draws the show needs: the song read from the
// data folder and the show built on the current GL context; for capture and
// screenshot also the output path (resolved where the user stood, before the
// data folder becomes the working directory) and a hidden GL context.
#pragma once

#include <filesystem>
#include <memory>

#include "gfx/HiddenGlContext.h"
#include "shell/OfflineShow.h"
#include "shell/Options.h"

struct OfflineSetup {
  std::filesystem::path output;
  std::unique_ptr<HiddenGlContext> context;
  std::unique_ptr<OfflineShow> show;
};

// Reads the song in the working directory and builds the show on the current
// GL context. Throws ShellError.
std::unique_ptr<OfflineShow> loadOfflineShow(const Options& options);

// Output path, data folder, a hidden GL context, the show. Throws
// ShellError.
void setUpOffline(const Options& options, OfflineSetup* setup);
