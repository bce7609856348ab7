// The process's DPI awareness: per monitor, so that client sizes, size
// messages and the GL drawable are the display's own pixels and Windows does
// not scale a small picture up (blurred) on a high-density monitor.
#pragma once

namespace platform {
namespace win32 {

// Declares the awareness once, before the first window (a message box
// counts). The newest way this Windows has: per-monitor v2 (Windows 10
// 1703), per-monitor (8.1), system-wide (Vista).
void useDevicePixels();

}  // namespace win32
}  // namespace platform
