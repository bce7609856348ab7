#include "songc/ModuleFields.h"

#include <cstdio>
#include <string>

#include "synth/Modulator.h"

void setField(float& field, const Parameter& parameter, const Setting& setting, const NameScope&) {
  const float value = setting.real();
  if (parameter.low < parameter.high && (value < parameter.low || value > parameter.high)) {
    char range[64];
    std::snprintf(range, sizeof range, "must be from %g to %g", double(parameter.low),
                  double(parameter.high));
    setting.fail(range);
  }
  field = value;
}

void setField(bool& field, const Parameter&, const Setting& setting, const NameScope&) {
  field = setting.flag();
}

void setField(ModulationRoute& field, const Parameter&, const Setting& setting,
              const NameScope& names) {
  field = setting.route(names);
}

long settingNumber(const Parameter& parameter, const Setting& setting, const NameScope& names) {
  switch (parameter.kind) {
    case Parameter::Kind::kChoice:
      // Numbers up to max are taken as they are: the file stores a byte, and
      // values beyond the names have a defined meaning (none).
      return setting.choice(parameter.choices, parameter.choiceCount, parameter.max);
    case Parameter::Kind::kController:
      return setting.controller(names);
    default:
      return setting.integer(parameter.min, parameter.max);
  }
}
