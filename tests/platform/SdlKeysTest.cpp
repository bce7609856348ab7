#include "platform/sdl/SdlKeys.h"

#include <gtest/gtest.h>

#include "platform/Window.h"

namespace {

using platform::sdl::virtualKeyFromSdl;

TEST(SdlKeys, MapToWindowsVirtualKeyCodes) {
  EXPECT_EQ(virtualKeyFromSdl(SDLK_ESCAPE), platform::kVkEscape);
  EXPECT_EQ(virtualKeyFromSdl(SDLK_SPACE), platform::kVkSpace);
  EXPECT_EQ(virtualKeyFromSdl(SDLK_a), 'A');
  EXPECT_EQ(virtualKeyFromSdl(SDLK_z), 'Z');
  EXPECT_EQ(virtualKeyFromSdl(SDLK_0), '0');
  EXPECT_EQ(virtualKeyFromSdl(SDLK_9), '9');
  EXPECT_EQ(virtualKeyFromSdl(SDLK_LEFT), 0x25);
  EXPECT_EQ(virtualKeyFromSdl(SDLK_DOWN), 0x28);
  EXPECT_EQ(virtualKeyFromSdl(SDLK_F1), 0x70);
  EXPECT_EQ(virtualKeyFromSdl(SDLK_F12), 0x7B);
  EXPECT_EQ(virtualKeyFromSdl(SDLK_RSHIFT), 0x10);
}

TEST(SdlKeys, OtherKeysAreIgnoredAndNothingFallsOutsideTheTable) {
  // SDL codes of keys without a character are scan codes with bit 30 set:
  // far outside a 256-entry table.
  EXPECT_EQ(virtualKeyFromSdl(SDLK_AUDIOPLAY), -1);
  EXPECT_EQ(virtualKeyFromSdl(SDLK_KP_5), -1);
  EXPECT_EQ(virtualKeyFromSdl(SDLK_UNKNOWN), -1);
  EXPECT_EQ(virtualKeyFromSdl(SDLK_DELETE), 0x2E);  // SDL's 127, Windows' 46
  for (SDL_Keycode key = 0; key < 0x20000; ++key) {
    int vk = virtualKeyFromSdl(key);
    EXPECT_TRUE(vk == -1 || (vk > 0 && vk < 256)) << key;
  }
  for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
    int vk = virtualKeyFromSdl(SDL_SCANCODE_TO_KEYCODE(scancode));
    EXPECT_TRUE(vk == -1 || (vk > 0 && vk < 256)) << scancode;
  }
}

}  // namespace
