#include "synth/MixerStrip.h"

#include <vector>

#include "synth/Synth.h"

namespace {

// Built before main, so no caller's thread ever builds it.
const std::vector<Parameter> kParameters = [] {
  std::vector<Parameter> list;
  Synth::describeStrip([&](const Parameter& parameter) { list.push_back(parameter); }, 0);
  return list;
}();

bool inRange(int channel, int index) {
  return channel >= 0 && channel < Synth::kChannels && index >= 0 && index < MixerStrip::count();
}

}  // namespace

int MixerStrip::count() { return int(kParameters.size()); }

const Parameter& MixerStrip::parameter(int index) {
  return kParameters[size_t(index < 0 || index >= count() ? 0 : index)];
}

float MixerStrip::get(const Synth& synth, int channel, int index) {
  float value = 0.0f;
  if (!inRange(channel, index)) return value;
  int at = 0;
  Synth::describeStrip(
      [&](const Parameter&, const float& field) {
        if (at++ == index) value = field;
      },
      channel, synth);
  return value;
}

void MixerStrip::set(Synth& synth, int channel, int index, float value) {
  if (!inRange(channel, index)) return;
  int at = 0;
  Synth::describeStrip(
      [&](const Parameter&, float& field) {
        if (at++ == index) field = value;
      },
      channel, synth);
}
