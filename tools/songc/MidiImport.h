// A song's order lists and patterns from a MIDI file, on the grid of the
// song's own tempo, speed and step length (its set-up and header come from
// the song source). MidiTimeline.h reads the file's music and refuses what
// no song holds; here each channel's events are cut into patterns:
//
// - Every order step in which a channel plays something starts a pattern of
//   one step's length on it. Its rows lie `speed` ticks apart, or, when
//   events fall between them, as far apart as the events allow, set by a
//   speed command (FF) on the first row.
// - A note keeps its note column from its start to its end, so a channel
//   holds 16 notes at once; a note that starts as another ends, with the
//   same velocity, takes over that column, as the sequencer sends them.
// - Controller changes become commands (controller, value) on their rows.
// - Steps that play the same, or the same transposed, share a pattern slot
//   (a transpose in the order list); a song holds 254 patterns.
// - Steps without events start nothing: the step before has run out.
//
// How to use: importMidi(midi, "song.mid", song, options); then write the
// song as usual. Throws MidiError naming the place in the MIDI file.
#pragma once

#include <string>

#include "songc/MidiFile.h"

struct Song;

struct MidiImportOptions {
  // How far an event may lie from a tick (in ticks, 0 to 0.5) and still be
  // moved onto it.
  double tolerance = 0.25;
};

void importMidi(const MidiFile& midi, const std::string& fileName, Song& song,
                const MidiImportOptions& options);
