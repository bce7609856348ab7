#include "songc/MidiGrid.h"

#include <algorithm>

#include "base/SampleRate.h"
#include "synth/Song.h"

MidiGrid midiGridFor(const Song& song) {
  const uint32_t speed = song.speed ? song.speed : 1;
  return MidiGrid{4 * speed, samplesPerTickFor(song)};
}

uint32_t MidiGrid::microsecondsPerQuarter() const {
  const uint64_t samples = uint64_t(ticksPerQuarter) * samplesPerTick;
  return uint32_t((samples * 1000000 + kSampleRate / 2) / kSampleRate);
}

double MidiGrid::beatsPerMinute() const { return ::beatsPerMinute(microsecondsPerQuarter()); }

uint32_t MidiGrid::exportTicksPerTick() const {
  return std::max<uint32_t>(1, (960 + ticksPerQuarter / 2) / ticksPerQuarter);
}

double beatsPerMinute(uint32_t microsecondsPerQuarter) {
  return microsecondsPerQuarter ? 60e6 / microsecondsPerQuarter : 0.0;
}
