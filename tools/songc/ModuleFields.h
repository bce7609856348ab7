// Settings applied to the fields that a description reaches: a synthesizer
// module's (SynthModule::visitFields, which follows the kind's describe), a
// layer's (SynthChannel::describeLayer), a mixer strip's
// (Synth::describeStrip) or the song header's. Each field is known by the
// name the song file's records give it, a route also by the name of what it
// moves; a key the description does not know, a field set twice or a value
// out of the parameter's range is an error at the word's line. A field left
// out keeps its value.
//
//   applySettings(fieldsOf(filter), settingsOf(line, 1), names, "filter");
//   applySettings([&](auto&& visit) { Synth::describeStrip(visit, k, synth); },
//                 settings, names, "channel");
#pragma once

#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "songc/Settings.h"
#include "synth/FieldVisitor.h"
#include "synth/Parameter.h"
#include "synth/SynthModule.h"

struct ModulationRoute;

// Sets one field from a setting, as the parameter's kind and range allow.
void setField(float& field, const Parameter& parameter, const Setting& setting,
              const NameScope& names);
void setField(bool& field, const Parameter& parameter, const Setting& setting,
              const NameScope& names);
void setField(ModulationRoute& field, const Parameter& parameter, const Setting& setting,
              const NameScope& names);
// A whole number: plain, a named choice or a controller.
long settingNumber(const Parameter& parameter, const Setting& setting, const NameScope& names);
template <class Integer>
void setField(Integer& field, const Parameter& parameter, const Setting& setting,
              const NameScope& names) {
  static_assert(std::is_integral_v<Integer>);
  field = Integer(settingNumber(parameter, setting, names));
}

// The walk over a module's fields, for applySettings.
inline auto fieldsOf(SynthModule& module) {
  return [&module](auto& visit) {
    ForwardingFieldVisitor<std::remove_reference_t<decltype(visit)>> forward(visit);
    module.visitFields(forward);
  };
}

// "a, b, c": the names (and aliases) walk reaches, for messages.
template <class Walk>
std::string fieldNames(Walk&& walk) {
  std::string known;
  auto add = [&known](const char* name) {
    known += (known.empty() ? "" : ", ") + std::string(name);
  };
  auto visit = [&](const Parameter& parameter, auto&) {
    add(parameter.name);
    if (parameter.alias) add(parameter.alias);
  };
  walk(visit);
  return known;
}

// Applies each setting to the field of its name that walk(visit) reaches;
// walk calls visit(parameter, field) for every field, as a describe does.
// kind names what is set in messages ("filter has no field ...").
template <class Walk>
void applySettings(Walk&& walk, const std::vector<Setting>& settings, const NameScope& names,
                   const std::string& kind) {
  std::set<std::string> seen;
  for (const Setting& setting : settings) {
    bool found = false;
    auto visit = [&](const Parameter& parameter, auto& field) {
      if (found) return;
      if (setting.key != parameter.name && !(parameter.alias && setting.key == parameter.alias))
        return;
      found = true;
      if (!seen.insert(parameter.name).second)
        setting.fail("field '" + setting.key + "' is set twice");
      setField(field, parameter, setting, names);
    };
    walk(visit);
    if (!found)
      setting.fail(kind + " has no field '" + setting.key + "' (fields: " + fieldNames(walk) + ")");
  }
}
