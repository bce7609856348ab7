// The canvas's sizes as the window calls give them.
#include "platform/Window.h"
#include "platform/web/WebPage.h"

namespace platform {

// The canvas's drawing buffer is the drawable.
void drawableSize(WindowHandle window, int* width, int* height) {
  clientSize(window, width, height);
}

// The page shows the canvas fullscreen itself, on its own key and button
// (a browser grants fullscreen only inside the user's event).
bool setDesktopFullscreen(WindowHandle, bool) { return false; }

}  // namespace platform
