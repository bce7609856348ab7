#include "PagePicture.h"

#include <emscripten.h>

#include <cstdio>

#include "platform/web/WebPage.h"

namespace {

EM_JS(void, keepPixels, (const uint8_t* rgb, int bytes), {
  Module["kylFramePixels"] = HEAPU8.slice(rgb, rgb + bytes);
});

}  // namespace

void handPicture(size_t index, double seconds, int width, int height,
                 const std::vector<uint8_t>& rgb) {
  keepPixels(rgb.data(), int(rgb.size()));
  char text[96];
  std::snprintf(text, sizeof text, "%zu %g %d %d", index, seconds, width, height);
  platform::web::pageEvent("frame", text);
}
