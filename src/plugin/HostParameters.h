// The parameters a host sees and automates, in one table: the master
// volume, whether ticks follow the host's tempo, the mixer strip of every
// heard channel (volume, pan, three send levels), and the set-up's status
// as an output.
//
// The strip parameters (MixerStrip's, by its names and ranges) adjust the
// set-up's own mixer instead of replacing it, so that at their defaults
// every set-up sounds as its file says, and a file saved with a new mix is
// heard at once: a volume scales the set-up's volume, a pan or send level
// moves the set-up's value (the result held to the strip's range).
//
// How to use: describe(i) for each of kCount parameters; set and get from
// any thread (the values are atomics); applyTo before each block renders.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

struct Setup;

class HostParameters {
 public:
  static constexpr int kStripChannels = 8;  // the heard channels
  static constexpr int kStripSize = 5;      // MixerStrip::count(): volume, pan, send1..3
  enum : uint32_t {
    kMasterVolume,
    kHostTempo,
    kFirstStrip,
    kStatus = kFirstStrip + kStripChannels * kStripSize,
    kCount
  };
  // The values of kStatus.
  enum Status { kPlayingBuiltIn = 0, kPlayingFile = 1, kFileFailed = 2 };

  struct Description {
    std::string name, symbol, description;
    float min, max, def;
    bool output = false, toggle = false;
    // Names of the whole values from 0, for an output that enumerates.
    const char* const* valueNames = nullptr;
    int valueCount = 0;
  };
  static Description describe(uint32_t index);
  struct Range {
    float min, max, def;
  };
  // describe's range, without the texts (allocates nothing).
  static Range range(uint32_t index);

  HostParameters();
  float get(uint32_t index) const;
  // Held to the parameter's range; outputs are not set this way.
  void set(uint32_t index, float value);
  void setStatus(Status status) { values_[kStatus].store(float(status), std::memory_order_relaxed); }
  float masterVolume() const { return values_[kMasterVolume].load(std::memory_order_relaxed); }
  bool followHostTempo() const { return get(kHostTempo) >= 0.5f; }

  // The set-up's mixer adjusted by the strip parameters, into its Synth.
  // Allocates nothing.
  void applyTo(Setup& setup) const;

 private:
  std::atomic<float> values_[kCount];
};
