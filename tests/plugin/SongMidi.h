// A song's events as MIDI, as a host would send them: the show's sequencer
// runs over the song tick by tick, and every event it sends to the
// synthesizer is encoded by the MIDI mapping (SynthToMidi, as kyl_songc
// --export-midi writes it) at the frame its tick starts (44100 Hz).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TimedMidi {
  uint64_t frame;
  uint8_t bytes[3];
};

struct SongMidi {
  uint32_t tickFrames = 0;
  std::vector<TimedMidi> events;
  uint64_t synthEvents = 0;  // what the sequencer sent
  uint64_t unencoded = 0;    // of those, the ones MIDI cannot carry
};

// ticks ticks from the song's start; the song file must load.
SongMidi songAsMidi(const std::string& songFile, uint32_t ticks);
// The compiled show song of the build.
std::string builtSongFile();
