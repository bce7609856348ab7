#include "songc/ModuleFields.h"

#include <sstream>
#include <string>

#include "synth/Modulator.h"

void setField(float& field, const Parameter&, const Setting& setting, const NameScope&) {
  field = setting.real();
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
    case Parameter::Kind::kChoice: {
      // Numbers up to max are taken as they are: the file stores a byte, and
      // values beyond the names have a defined meaning (none).
      std::vector<std::string> words;
      std::istringstream in(parameter.choices);
      for (std::string word; in >> word;) words.push_back(word);
      std::vector<const char*> choices;
      for (const std::string& word : words) choices.push_back(word.c_str());
      return setting.choice(choices, parameter.max);
    }
    case Parameter::Kind::kController:
      return setting.controller(names);
    default:
      return setting.integer(parameter.min, parameter.max);
  }
}
