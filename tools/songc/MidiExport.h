// A song's order lists and patterns as a MIDI file: the sequencer plays the
// song from its first order step to the end of its order lists, and every
// note and controller change it sends to the synthesizer goes into the file
// at its tick (MidiToSynth decodes the very events back). Controllers that
// a slide sends again unchanged are left out: the synthesizer keeps only the
// latest value, so they change nothing.
//
// The file: format 1; track 1 holds the song's tempo (MidiGrid.h), 4/4 and a
// marker "step N" at each order step; then one track per channel that plays
// anything, named "channel K", on MIDI channel K. Notes still sounding at the
// end stop there.
//
// How to use: MidiFile midi = exportMidi(song, "brumtakt"); throws MidiError
// when an event has no MIDI message (a note above G9, controller 140, ...).
#pragma once

#include <string>

#include "songc/MidiFile.h"

struct Song;

MidiFile exportMidi(const Song& song, const std::string& title);
