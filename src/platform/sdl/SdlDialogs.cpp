#include <cstdio>

#include "platform/Dialogs.h"
#include "platform/sdl/SdlWindow.h"

namespace platform {
namespace {
WindowHandle gDefaultOwner = nullptr;
}

namespace sdl {
void forgetMessageBoxOwner(NativeWindow* window) {
  if (gDefaultOwner == window) gDefaultOwner = nullptr;
}
}  // namespace sdl

void setDefaultMessageBoxOwner(WindowHandle owner) { gDefaultOwner = owner; }

MessageBoxAnswer messageBox(WindowHandle owner, const char* text, const char* caption,
                            MessageBoxButtons buttons) {
  // First on standard error: a user without a display reads it there, and a
  // box that nobody answers still leaves its text behind.
  std::fprintf(stderr, "%s: %s\n", caption, text);
  std::fflush(stderr);

  const MessageBoxAnswer refused =
      buttons == MessageBoxButtons::YesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
  // Headless runs (tests, capture) have nobody to answer; SDL would still
  // open an X11 box whenever DISPLAY is set, and wait for ever.
  if (sdl::headless()) return refused;
  if (!owner) owner = gDefaultOwner;
  // A window drawn into memory cannot own a box on the screen.
  bool ownable = owner && !sdl::drawsOffscreen();

  const SDL_MessageBoxButtonData okButtons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
       int(MessageBoxAnswer::Ok), "OK"}};
  const SDL_MessageBoxButtonData yesNoButtons[] = {
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, int(MessageBoxAnswer::No), "No"},
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, int(MessageBoxAnswer::Yes), "Yes"}};
  SDL_MessageBoxData box{};
  box.flags = buttons == MessageBoxButtons::YesNo ? SDL_MESSAGEBOX_INFORMATION : SDL_MESSAGEBOX_ERROR;
  box.window = ownable ? owner->sdl : nullptr;
  box.title = caption;
  box.message = text;
  if (buttons == MessageBoxButtons::YesNo) {
    box.numbuttons = 2;
    box.buttons = yesNoButtons;
  } else {
    box.numbuttons = 1;
    box.buttons = okButtons;
  }
  int hit = -1;
  if (SDL_ShowMessageBox(&box, &hit) != 0 || hit < 0) return refused;
  return MessageBoxAnswer(hit);
}

}  // namespace platform
