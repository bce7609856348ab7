// The key=value words of a statement and how each reads its value; they
// are applied to what a statement sets through its description
// (ModuleFields.h).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "songc/SourceText.h"

struct ModulationRoute;

// Names that values may use instead of numbers.
struct NameScope {
  // Modulator labels of the voice being built (route sources).
  const std::map<std::string, int>* modulators = nullptr;
  // Controller names declared in the song (controller numbers).
  const std::map<std::string, int>* controllers = nullptr;
};

// One key=value word of a statement.
struct Setting {
  std::string key;
  std::string value;
  const SourceLine* line = nullptr;
  size_t word = 0;

  [[noreturn]] void fail(const std::string& what) const {
    line->failAt(word, key + "=" + value + ": " + what);
  }
  float real() const;
  long integer(long min, long max) const;
  bool flag() const;
  // One of count names (its index) or a number 0 to max.
  long choice(const char* const* names, int count, long max) const;
  // "SOURCE:DEPTH" (SOURCE a modulator label or index) or "none".
  ModulationRoute route(const NameScope& names) const;
  // A controller name or number 1 to 255.
  long controller(const NameScope& names) const;
};

// The settings of a statement, from word `first` on; every other word there
// must be a setting.
std::vector<Setting> settingsOf(const SourceLine& line, size_t first);
