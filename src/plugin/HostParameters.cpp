#include "plugin/HostParameters.h"

#include "plugin/Setup.h"

namespace {

// A strip parameter scales the set-up's value or moves it, within the
// strip's range.
struct StripEntry {
  const char* name;
  const char* symbol;
  bool scales;
  float low, high;  // the strip's range of the adjusted value
};
constexpr StripEntry kStrip[HostParameters::kStripSize] = {
    {"volume", "volume", true, 0.0f, 8.0f},
    {"pan", "pan", false, 0.0f, 1.0f},
    {"send 1", "send1", false, 0.0f, 1.0f},
    {"send 2", "send2", false, 0.0f, 1.0f},
    {"send 3", "send3", false, 0.0f, 1.0f},
};

constexpr const char* kStatusNames[] = {"playing brumtakt (built in)", "playing the file",
                                        "file not loaded, previous set-up playing"};

float adjusted(const StripEntry& entry, float base, float adjustment) {
  if (entry.scales) return base * adjustment;
  // Unmoved, the set-up's value stands as it is, even beyond the range.
  if (adjustment == 0.0f) return base;
  const float value = base + adjustment;
  return value < entry.low ? entry.low : value > entry.high ? entry.high : value;
}

}  // namespace

HostParameters::Range HostParameters::range(uint32_t index) {
  if (index == kMasterVolume) return {0.0f, 2.0f, 1.0f};
  if (index == kHostTempo) return {0.0f, 1.0f, 0.0f};
  if (index == kStatus) return {0.0f, 2.0f, 0.0f};
  if (index >= kFirstStrip && index < kStatus) {
    if (kStrip[(index - kFirstStrip) % kStripSize].scales) return {0.0f, 4.0f, 1.0f};
    return {-1.0f, 1.0f, 0.0f};
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
    const StripEntry& entry = kStrip[(index - kFirstStrip) % kStripSize];
    const std::string k = std::to_string(channel);
    d.name = "Channel " + k + " " + entry.name;
    d.symbol = "ch" + k + "_" + entry.symbol;
    d.description = std::string(entry.scales ? "scales" : "moves") + " the set-up's " + entry.name +
                    " of synthesizer channel " + k + " (MIDI channel " + std::to_string(channel + 1) +
                    ")";
  }
  return d;
}

HostParameters::HostParameters() {
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
  Synth& synth = *setup.synth;
  float* const fields[kStripSize] = {synth.volume, synth.pan, synth.send1, synth.send2, synth.send3};
  const float* const bases[kStripSize] = {setup.volume, setup.pan, setup.send[0], setup.send[1],
                                          setup.send[2]};
  for (int k = 0; k < kStripChannels; ++k) {
    for (int j = 0; j < kStripSize; ++j) {
      const float adjustment = values_[kFirstStrip + k * kStripSize + j].load(std::memory_order_relaxed);
      fields[j][k] = adjusted(kStrip[j], bases[j][k], adjustment);
    }
  }
}
