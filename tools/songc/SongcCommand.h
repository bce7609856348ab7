// The kyl_songc command: compiles a song source, optionally with the order
// lists and patterns of a MIDI file, into a song file, and writes a song's
// order lists and patterns as a MIDI file.
//
//   kyl_songc SOURCE.song OUTPUT
//   kyl_songc SETUP.song --midi SONG.mid [--tolerance T] -o OUTPUT
//   kyl_songc SOURCE.song --export-midi OUT.mid
//
// Returns the exit code: 0 done, 1 a mistake in the input (printed as
// FILE:LINE:COLUMN: what, or FILE: place: what for MIDI files), 2 a wrong
// command line.
#pragma once

int runSongcCommand(int argc, const char* const* argv);
