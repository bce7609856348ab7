// Turns synthesizer events into MIDI 1.0 channel messages, the inverse of
// MidiToSynth: a note's velocity or a controller's value whose low bit MIDI's
// 7 bits lose goes out with the velocity prefix or the fine controller, and a
// controller without a message of its own (or a 7-bit one at a value 7 bits
// cannot hold) as an NRPN, so that decoding the messages gives the very
// event back.
//
// How to use:
//   MidiMessage messages[midimap::kMaxMessages];
//   std::string problem;
//   int n = encodeSynthEvent(channel, kind, value, messages, &problem);
//   // n messages to send in order; 0 when MIDI cannot carry the event
//   // (problem says why: a note beyond MIDI's range, channel 16, ...).
// Encoding allocates nothing unless it fails (fit for an audio thread).
#pragma once

#include <cstdint>
#include <string>

#include "midi/MidiMapping.h"

struct MidiMessage {
  uint8_t status;
  uint8_t data1;
  uint8_t data2;
};

// Note-offs go out as 0x80 messages, so that their velocity survives.
int encodeSynthEvent(int channel, int kind, uint32_t value, MidiMessage out[midimap::kMaxMessages],
                     std::string* problem);
