// SDL key codes to Windows virtual-key codes, the numbers the window
// procedures and their key tables use.
#pragma once

#include <SDL.h>

namespace platform {
namespace sdl {

// The virtual-key code of an SDL key: letters and digits as their upper-case
// ASCII codes, Escape 27, space 32, and the usual editing, arrow, function
// and modifier keys. -1 for any other key: it gets no message.
int virtualKeyFromSdl(SDL_Keycode key);

}  // namespace sdl
}  // namespace platform
