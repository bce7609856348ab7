#include "shell/OfflineSetup.h"

#include <string>
#include <system_error>

#include "platform/Window.h"
#include "shell/DataDirectory.h"
#include "shell/ShellError.h"
#include "shell/SongFile.h"

std::unique_ptr<OfflineShow> loadOfflineShow(const Options& options) {
  return std::make_unique<OfflineShow>(readSongFile(kSongFileName), options.startPosition);
}

void setUpOffline(const Options& options, OfflineSetup* setup) {
  std::error_code error;
  setup->output = std::filesystem::absolute(options.output, error);
  if (error)
    throw ShellError("cannot use the output \"" + options.output + "\": " + error.message());
  enterDataDirectory(options);
  try {
    setup->context = std::make_unique<HiddenGlContext>(64, 48);
  } catch (const platform::PlatformError& e) {
    throw ShellError(std::string("no OpenGL context: ") + e.what());
  }
  setup->show = loadOfflineShow(options);
}
