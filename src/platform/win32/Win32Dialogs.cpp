// Message boxes on USER32. Texts arrive as UTF-8; the box is the wide
// MessageBoxW so that non-ASCII letters show as written whatever the user's
// ANSI code page is.
#include <cstdio>
#include <string>

#include "platform/Dialogs.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Handles.h"

namespace platform {
namespace {

HWND defaultOwner = nullptr;

std::wstring widen(const char* text) {
  if (!text) return std::wstring();
  int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring wide(size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, &wide[0], n);
  wide.resize(size_t(n - 1));
  return wide;
}

}  // namespace

MessageBoxAnswer messageBox(WindowHandle owner, const char* text, const char* caption,
                            MessageBoxButtons buttons) {
  std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
  std::fflush(stderr);
  win32::useDevicePixels();  // before the process's first window
  HWND ownerWindow = owner ? toHwnd(owner) : defaultOwner;
  if (ownerWindow && !IsWindow(ownerWindow)) ownerWindow = nullptr;
  UINT type = buttons == MessageBoxButtons::YesNo ? MB_YESNO : MB_OK;
  int result = MessageBoxW(ownerWindow, widen(text).c_str(), widen(caption).c_str(), type);
  if (buttons == MessageBoxButtons::YesNo) {
    return result == IDYES ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
  }
  return MessageBoxAnswer::Ok;
}

void setDefaultMessageBoxOwner(WindowHandle owner) { defaultOwner = toHwnd(owner); }

}  // namespace platform
