// Message boxes in a page: the text goes to the console and to the page's
// message panel. Nobody answers a question there: the answer is No, as with
// no display.
#include <emscripten.h>

#include <cstdio>

#include "platform/Dialogs.h"

namespace platform {
namespace {

EM_JS(void, showPageMessage, (const char* caption, const char* text), {
  if (Module["kylMessage"]) Module["kylMessage"](UTF8ToString(caption), UTF8ToString(text));
});

}  // namespace

void setDefaultMessageBoxOwner(WindowHandle) {}

MessageBoxAnswer messageBox(WindowHandle, const char* text, const char* caption,
                            MessageBoxButtons buttons) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  showPageMessage(caption, text);
  return buttons == MessageBoxButtons::YesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
}

}  // namespace platform
