// The field table of a synthesizer module kind, made from the kind's own
// parameter description (Module::describe): every stored parameter by the
// name of the song file's records, a route also by the name of what it moves.
// A field left out keeps the module's constructed default.
#pragma once

#include <vector>

#include "songc/Settings.h"
#include "synth/Parameter.h"

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
  field = Integer(settingNumber(parameter, setting, names));
}

template <class Module>
const std::vector<Field<Module>>& fieldsOf() {
  static const std::vector<Field<Module>> fields = [] {
    std::vector<Field<Module>> table;
    int index = 0;
    Module::describe([&table, &index](const Parameter& parameter) {
      // Sets the index-th parameter of a module: its field is found by
      // walking the description over that module.
      auto apply = [index, parameter](Module& module, const Setting& setting,
                                      const NameScope& names) {
        int at = 0;
        Module::describe(
            [&](const Parameter&, auto& field) {
              if (at++ == index) setField(field, parameter, setting, names);
            },
            module);
      };
      table.push_back({parameter.name, apply});
      if (parameter.alias) table.push_back({parameter.alias, apply});
      ++index;
    });
    return table;
  }();
  return fields;
}
