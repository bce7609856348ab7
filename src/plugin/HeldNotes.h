// The notes each channel holds, from the note events a host's MIDI gave, so
// that "all notes off" (controllers 120 and 123 to 127, which hosts send when
// their transport stops) can end them: the MIDI mapping itself has no place
// for a message that stands for many events.
//
// How to use: note(channel, kind, value) for every decoded event; at a
// channel mode message, releaseAll(channel, f) calls f(note) for each note
// held and forgets them. Allocates nothing.
#pragma once

#include <cstdint>
#include <cstring>

#include "synth/SynthModule.h"

class HeldNotes {
 public:
  HeldNotes() { clear(); }
  void clear() { std::memset(held_, 0, sizeof held_); }

  // A decoded event (kind: eventKind; value: as Synth::event takes it).
  void note(int channel, int kind, uint32_t value) {
    const uint32_t n = value & 0x7F;
    uint32_t& word = held_[channel & 15][n >> 5];
    if (kind == eventKind::kNoteOn) word |= 1u << (n & 31);
    if (kind == eventKind::kNoteOff) word &= ~(1u << (n & 31));
  }

  // Whether a controller message ends every note of its channel.
  static bool endsAllNotes(int controller) { return controller == 120 || controller >= 123; }

  template <typename Release>
  void releaseAll(int channel, Release release) {
    uint32_t* words = held_[channel & 15];
    for (uint32_t n = 0; n < 128; ++n)
      if (words[n >> 5] & 1u << (n & 31)) release(n);
    std::memset(words, 0, 4 * sizeof(uint32_t));
  }

 private:
  uint32_t held_[16][4];  // 128 notes a channel
};
