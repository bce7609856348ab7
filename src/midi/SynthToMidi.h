// Turns synthesizer events into MIDI 1.0 channel messages, the inverse of
// MidiToSynth: a note's velocity or a controller's value whose low bit MIDI's
// 7 bits lose goes out with the velocity prefix or the fine controller, so
// that decoding the messages gives the very event back.
//
// How to use:
//   MidiMessage messages[2];
//   std::string problem;
//   int n = encodeSynthEvent(channel, kind, value, messages, &problem);
//   // n messages to send in order; 0 when MIDI cannot carry the event
//   // (problem says why: a note beyond MIDI's range, controller 140, ...).
#pragma once

#include <cstdint>
#include <string>

struct MidiMessage {
  uint8_t status;
  uint8_t data1;
  uint8_t data2;
};

// Note-offs go out as 0x80 messages, so that their velocity survives.
int encodeSynthEvent(int channel, int kind, uint32_t value, MidiMessage out[2],
                     std::string* problem);
