// What the SDL backend's sound device tells beyond the sound interface: for
// programs that measure the sound as the device plays it.
#pragma once

#include <cstdint>

namespace platform {
namespace sdl {

// Frames per period of the SDL audio device opened last (what one callback
// hands over), 0 before one was opened.
uint32_t devicePeriodFrames();

}  // namespace sdl
}  // namespace platform
