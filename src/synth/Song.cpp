#include "synth/Song.h"

#include "base/SampleRate.h"

void OrderList::resize(uint16_t newLength) {
  length = newLength;
  steps.resize(newLength, OrderStep{});
}

void Pattern::resize(uint16_t newRowCount) {
  rowCount = newRowCount;
  rows.resize(newRowCount, PatternRow{});
}

uint32_t samplesPerTickFor(const Song& song) {
  uint32_t tempo = song.tempo ? song.tempo : 1;
  // A tempo of t is t beats a minute at 32 ticks a beat.
  return kSampleRate * 60u / (tempo * 32u);
}
