#include "PageFrameModes.h"

#include <emscripten.h>

#include <cstdio>

#include "platform/web/WebPage.h"
#include "shell/DataDirectory.h"
#include "shell/ShellError.h"

namespace {

EM_JS(void, keepPixels, (const uint8_t* rgb, int bytes), {
  Module["kylFramePixels"] = HEAPU8.slice(rgb, rgb + bytes);
});

}  // namespace

bool enterPageData(const char* folder) {
  Options options;
  options.dataDir = folder;
  try {
    enterDataDirectory(options);
    return true;
  } catch (const ShellError& e) {
    std::fprintf(stderr, "kylvander: %s\n", e.what());
    return false;
  }
}

void handPicture(size_t index, double seconds, int width, int height,
                 const std::vector<uint8_t>& rgb) {
  keepPixels(rgb.data(), int(rgb.size()));
  char text[96];
  std::snprintf(text, sizeof text, "%zu %g %d %d", index, seconds, width, height);
  platform::web::pageEvent("frame", text);
}

void framesDone() { platform::web::pageEvent("frames-done", ""); }

int framesFailed(const std::string& reason) {
  std::fprintf(stderr, "kylvander: %s\n", reason.c_str());
  platform::web::pageEvent("frames-failed", reason.c_str());
  return 1;
}
