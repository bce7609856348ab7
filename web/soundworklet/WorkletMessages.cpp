// Message boxes of the sound program: the worklet has no screen, so caption
// and text go to standard error, which the processor hands to the page.
#include <cstdio>

#include "platform/Dialogs.h"

namespace platform {

void setDefaultMessageBoxOwner(WindowHandle) {}

MessageBoxAnswer messageBox(WindowHandle, const char* text, const char* caption,
                            MessageBoxButtons buttons) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  return buttons == MessageBoxButtons::YesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
}

}  // namespace platform
