// Message boxes for the fuzz programs: text to standard error only (a window
// system would make every refused input cost a dialog).
#include <cstdio>

#include "platform/Dialogs.h"

namespace platform {

MessageBoxAnswer messageBox(WindowHandle, const char* text, const char* caption,
                            MessageBoxButtons buttons) {
  static int shown = 0;
  if (shown < 5) std::fprintf(stderr, "%s: %s\n", caption, text);
  ++shown;
  return buttons == MessageBoxButtons::YesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
}

void setDefaultMessageBoxOwner(WindowHandle) {}

}  // namespace platform
