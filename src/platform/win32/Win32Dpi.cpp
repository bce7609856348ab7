#include "platform/win32/Win32Dpi.h"

#include <cstdint>
#include <initializer_list>

#include "platform/win32/LeanWindows.h"

namespace platform {
namespace win32 {
namespace {

// Looked up at run time: older systems lack them, and shcore.dll is not one
// of the DLLs the program imports.
template <typename Proc>
Proc find(const char* dll, const char* name) {
  HMODULE module = GetModuleHandleA(dll);
  if (!module) module = LoadLibraryA(dll);
  if (!module) return nullptr;
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

void useDevicePixels() {
  static bool declared = false;
  if (declared) return;
  declared = true;
  using ContextProc = BOOL(WINAPI*)(HANDLE);
  if (auto setContext = find<ContextProc>("user32.dll", "SetProcessDpiAwarenessContext")) {
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _PER_MONITOR_AWARE.
    for (intptr_t context : {intptr_t(-4), intptr_t(-3)})
      if (setContext(reinterpret_cast<HANDLE>(context))) return;
  }
  using AwarenessProc = HRESULT(WINAPI*)(int);
  if (auto setAwareness = find<AwarenessProc>("shcore.dll", "SetProcessDpiAwareness")) {
    if (setAwareness(2) == S_OK) return;  // PROCESS_PER_MONITOR_DPI_AWARE
  }
  using AwareProc = BOOL(WINAPI*)();
  if (auto setAware = find<AwareProc>("user32.dll", "SetProcessDPIAware")) setAware();
}

}  // namespace win32
}  // namespace platform
