// The key=value words of a statement, applied to one synthesizer module
// through a table of its stored fields. Every module kind has such a table
// (ModuleFields.h) naming its fields as the song file's records do; a key the
// table does not know, a repeated key or a value out of range is an error at
// the word's line.
#pragma once

#include <functional>
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
  long choice(const std::vector<const char*>& names, long max) const;
  // "SOURCE:DEPTH" (SOURCE a modulator label or index) or "none".
  ModulationRoute route(const NameScope& names) const;
  // A controller name or number 1 to 255.
  long controller(const NameScope& names) const;
};

// The settings of a statement, from word `first` on; every other word there
// must be a setting.
std::vector<Setting> settingsOf(const SourceLine& line, size_t first);

template <class Module>
struct Field {
  const char* name;
  std::function<void(Module&, const Setting&, const NameScope&)> apply;
};

// Applies each setting through the table; rejects unknown and repeated keys.
template <class Module>
void applySettings(Module& module, const std::vector<Setting>& settings,
                   const std::vector<Field<Module>>& fields, const NameScope& names,
                   const char* kind) {
  std::map<std::string, bool> seen;
  for (const Setting& setting : settings) {
    const Field<Module>* found = nullptr;
    for (const Field<Module>& field : fields)
      if (setting.key == field.name) found = &field;
    if (!found) {
      std::string known;
      for (const Field<Module>& field : fields) known += std::string(known.empty() ? "" : ", ") + field.name;
      setting.fail(std::string(kind) + " has no field '" + setting.key + "' (fields: " + known + ")");
    }
    if (seen[found->name]) setting.fail(std::string("field '") + found->name + "' is set twice");
    seen[found->name] = true;
    found->apply(module, setting, names);
  }
}
