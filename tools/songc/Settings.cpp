#include "songc/Settings.h"

#include "songc/Values.h"
#include "synth/Modulator.h"

float Setting::real() const {
  auto value = parseFloat(this->value);
  if (!value) fail("expected a number");
  return *value;
}

long Setting::integer(long min, long max) const {
  auto value = parseInteger(this->value);
  if (!value) fail("expected a whole number");
  if (*value < min || *value > max)
    fail("must be from " + std::to_string(min) + " to " + std::to_string(max));
  return *value;
}

bool Setting::flag() const {
  auto value = parseFlag(this->value);
  if (!value) fail("expected yes or no");
  return *value;
}

long Setting::choice(const char* const* names, int count, long max) const {
  const std::vector<const char*> list(names, names + count);
  auto value = parseChoice(this->value, list);
  if (!value || *value < 0 || *value > max)
    fail("expected one of " + joinNames(list) + " (or a number 0 to " + std::to_string(max) + ")");
  return *value;
}

ModulationRoute Setting::route(const NameScope& names) const {
  if (value == "none") return ModulationRoute{0, 0.0f};
  size_t colon = value.find(':');
  if (colon == std::string::npos) fail("expected SOURCE:DEPTH (a modulator and a depth) or none");
  std::string source = value.substr(0, colon);
  ModulationRoute route;
  if (names.modulators && names.modulators->count(source)) {
    route.source = uint8_t(names.modulators->at(source));
  } else {
    auto index = parseInteger(source);
    if (!index) fail("no modulator is labelled '" + source + "' in this voice");
    if (*index < 0 || *index > 255) fail("a modulator index is 0 to 255");
    route.source = uint8_t(*index);
  }
  auto depth = parseFloat(value.substr(colon + 1));
  if (!depth) fail("the depth after ':' must be a number");
  route.depth = *depth;
  return route;
}

long Setting::controller(const NameScope& names) const {
  if (names.controllers && names.controllers->count(value)) return names.controllers->at(value);
  auto number = parseInteger(value);
  if (!number) fail("no controller is named '" + value + "'");
  if (*number < 1 || *number > 255) fail("a controller number is 1 to 255");
  return *number;
}

std::vector<Setting> settingsOf(const SourceLine& line, size_t first) {
  std::vector<Setting> settings;
  for (size_t i = first; i < line.words.size(); ++i) {
    const std::string& word = line.words[i];
    if (!isSetting(word)) line.failAt(i, "expected key=value, found '" + word + "'");
    size_t eq = word.find('=');
    settings.push_back(Setting{word.substr(0, eq), word.substr(eq + 1), &line, i});
  }
  return settings;
}
