// The platform's opaque handles are the Win32 handles themselves: the
// conversions live here so that each backend file spells them the same way.
#pragma once

#include "platform/win32/LeanWindows.h"

#include "platform/Window.h"

namespace platform {

inline HWND toHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle toHandle(HWND hwnd) { return reinterpret_cast<WindowHandle>(hwnd); }

}  // namespace platform
