// The window classes a backend without Win32's class registry keeps itself
// (SDL, the web page): a name and a window procedure per class, in a small
// fixed table, so that registering and creating windows allocate nothing.
#pragma once

#include <cstring>
#include <string>

#include "platform/Window.h"

namespace platform {

template <int Capacity>
class WindowClassTable {
 public:
  // The procedure registered under the name, or null.
  WindowProcedure find(const char* name) const {
    const Entry* e = entry(name);
    return e ? e->procedure : nullptr;
  }

  // Registering a name again replaces its procedure, as RegisterClass's
  // callers here expect.
  void add(const char* name, WindowProcedure procedure) {
    if (Entry* existing = entry(name)) {
      existing->procedure = procedure;
      return;
    }
    for (Entry& e : entries_) {
      if (!e.procedure) {
        std::strncpy(e.name, name, sizeof e.name - 1);
        e.procedure = procedure;
        return;
      }
    }
    throw PlatformError(std::string("too many window classes: ") + name);
  }

  void remove(const char* name) {
    if (Entry* e = entry(name)) *e = Entry{};
  }

 private:
  struct Entry {
    char name[64] = {};
    WindowProcedure procedure = nullptr;
  };

  const Entry* entry(const char* name) const {
    for (const Entry& e : entries_)
      if (e.procedure && std::strcmp(e.name, name) == 0) return &e;
    return nullptr;
  }
  Entry* entry(const char* name) {
    return const_cast<Entry*>(static_cast<const WindowClassTable*>(this)->entry(name));
  }

  Entry entries_[Capacity];
};

}  // namespace platform
