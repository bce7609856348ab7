#include "shell/OfflineSetup.h"

#include <string>
#include <system_error>
#include <vector>

#include "platform/Window.h"
#include "shell/DataDirectory.h"
#include "shell/OfflineError.h"
#include "shell/SongFile.h"

std::unique_ptr<OfflineShow> loadOfflineShow(const Options& options) {
  std::vector<uint8_t> songImage;
  try {
    songImage = readSongFile(kSongFileName);
  } catch (const SongFileError& e) {
    throw OfflineError("cannot read the song file \"" + e.file + "\": " + e.reason);
  }
  auto show = std::make_unique<OfflineShow>(songImage, options.startPosition);
  if (!show->ok()) throw OfflineError(show->error());
  return show;
}

bool setUpOffline(const Options& options, OfflineSetup* setup) {
  std::error_code error;
  setup->output = std::filesystem::absolute(options.output, error);
  if (error)
    throw OfflineError("cannot use the output \"" + options.output + "\": " + error.message());
  if (!enterDataDirectory(options)) return false;
  try {
    setup->context = std::make_unique<HiddenGlContext>(64, 48);
  } catch (const platform::PlatformError& e) {
    throw OfflineError(std::string("no OpenGL context: ") + e.what());
  }
  setup->show = loadOfflineShow(options);
  return true;
}
