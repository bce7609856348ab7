#include "plugin/HostParameters.h"

#include <cstring>
#include <stdexcept>

#include "plugin/Setup.h"
#include "synth/MixerStrip.h"

namespace {

constexpr const char* kStatusNames[] = {"playing brumtakt (built in)", "playing the file",
                                        "file not loaded, previous set-up playing"};

// The level scales; every other strip value moves within its range.
bool scales(int strip) { return std::strcmp(MixerStrip::parameter(strip).name, "volume") == 0; }

float adjusted(int strip, float base, float adjustment) {
  if (scales(strip)) return base * adjustment;
  // Unmoved, the set-up's value stands as it is, even beyond the range.
  if (adjustment == 0.0f) return base;
  const Parameter& p = MixerStrip::parameter(strip);
  const float value = base + adjustment;
  return value < p.low ? p.low : value > p.high ? p.high : value;
}

}  // namespace

HostParameters::Range HostParameters::range(uint32_t index) {
  if (index == kMasterVolume) return {0.0f, 2.0f, 1.0f};
  if (index == kHostTempo) return {0.0f, 1.0f, 0.0f};
  if (index == kStatus) return {0.0f, 2.0f, 0.0f};
  if (index >= kFirstStrip && index < kStatus) {
    const int strip = int(index - kFirstStrip) % kStripSize;
    if (scales(strip)) return {0.0f, 4.0f, 1.0f};
    const Parameter& p = MixerStrip::parameter(strip);
    return {p.low - p.high, p.high - p.low, 0.0f};
  }
  return {0.0f, 0.0f, 0.0f};
}

HostParameters::Description HostParameters::describe(uint32_t index) {
  const Range r = range(index);
  Description d{};
  d.min = r.min;
  d.max = r.max;
  d.def = r.def;
  if (index == kMasterVolume) {
    d.name = "Master volume";
    d.symbol = "master";
    d.description = "gain on the synthesizer's output";
  } else if (index == kHostTempo) {
    d.name = "Follow host tempo";
    d.symbol = "host_tempo";
    d.description =
        "ticks last a sixteenth note of the host's tempo divided by the song's speed, instead of "
        "following the song's own tempo";
    d.toggle = true;
  } else if (index == kStatus) {
    d.name = "Set-up status";
    d.symbol = "status";
    d.description = "whether the chosen set-up file loaded (the reason goes to stderr)";
    d.output = true;
    d.valueNames = kStatusNames;
    d.valueCount = 3;
  } else if (index >= kFirstStrip && index < kStatus) {
    const int channel = int(index - kFirstStrip) / kStripSize;
    const int strip = int(index - kFirstStrip) % kStripSize;
    const std::string name = MixerStrip::parameter(strip).name;
    const std::string k = std::to_string(channel);
    d.name = "Channel " + k + " " + name;
    d.symbol = "ch" + k + "_" + name;
    d.description = std::string(scales(strip) ? "scales" : "moves") + " the set-up's " + name +
                    " of synthesizer channel " + k + " (MIDI channel " + std::to_string(channel + 1) +
                    ")";
  }
  return d;
}

HostParameters::HostParameters() {
  if (MixerStrip::count() != kStripSize)
    throw std::logic_error("the mixer strip has another number of parameters than the plugin lists");
  for (uint32_t i = 0; i < kCount; ++i) values_[i].store(range(i).def, std::memory_order_relaxed);
}

float HostParameters::get(uint32_t index) const {
  return index < kCount ? values_[index].load(std::memory_order_relaxed) : 0.0f;
}

void HostParameters::set(uint32_t index, float value) {
  if (index >= kCount || index == kStatus) return;
  const Range r = range(index);
  if (!(value >= r.min)) value = r.min;  // NaN too
  if (value > r.max) value = r.max;
  values_[index].store(value, std::memory_order_relaxed);
}

void HostParameters::applyTo(Setup& setup) const {
  for (int k = 0; k < kStripChannels; ++k) {
    for (int j = 0; j < kStripSize; ++j) {
      const float adjustment = values_[kFirstStrip + k * kStripSize + j].load(std::memory_order_relaxed);
      MixerStrip::set(*setup.synth, k, j, adjusted(j, setup.strip[k][j], adjustment));
    }
  }
}
