// The song's time grid in MIDI's terms: a pattern row at the song's speed is
// a sixteenth note, so a quarter note is 4 x speed sequencer ticks, and the
// song's tempo gives the quarter note's length (ticks of samplesPerTick
// frames at 44100 Hz). Exported files give each sequencer tick a whole
// number of MIDI ticks; imported files are measured against the same grid.
#pragma once

#include <cstdint>

struct Song;

struct MidiGrid {
  uint32_t ticksPerQuarter;  // sequencer ticks
  uint32_t samplesPerTick;

  // The MIDI tempo: microseconds a quarter note, rounded.
  uint32_t microsecondsPerQuarter() const;
  double beatsPerMinute() const;
  // MIDI ticks per sequencer tick in an exported file: a division near 960.
  uint32_t exportTicksPerTick() const;
};

MidiGrid midiGridFor(const Song& song);

// Beats a minute of a MIDI tempo.
double beatsPerMinute(uint32_t microsecondsPerQuarter);
