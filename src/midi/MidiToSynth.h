// Turns MIDI 1.0 channel messages into synthesizer events (channel, kind,
// value, as Synth::event takes them), by the rules of MidiMapping.h: MIDI
// channel k plays synthesizer channel k; note on/off with their velocities;
// controllers 1 to 31 (with their fine parts 33 to 63), 64 to 119, and any
// controller 1 to 255 as an NRPN. The velocity prefix, the coarse parts and
// the chosen NRPN are remembered per channel. Anything else (programs, pitch
// bend, pressure, bank select, channel modes, RPNs, notes below C1) gives no
// event.
//
// How to use: one decoder per stream of messages, fed in order:
//   MidiToSynth decoder;
//   MidiToSynth::Event e;
//   if (decoder.decode(0x93, 60, 100, &e)) synth.event(e.channel, e.kind, e.value);
// Decoding allocates nothing and takes no lock (fit for an audio thread).
#pragma once

#include <cstdint>

class MidiToSynth {
 public:
  struct Event {
    int channel;
    int kind;  // eventKind: note on, note off, controller
    uint32_t value;
  };

  MidiToSynth() { reset(); }
  // Forgets prefixes, coarse values and NRPNs.
  void reset();
  // One channel message: status 0x80 to 0xEF and its data bytes (data2 is
  // ignored for two-byte messages). True when it gives an event.
  bool decode(uint8_t status, uint8_t data1, uint8_t data2, Event* out);

 private:
  int8_t velocityPrefix_[16];  // -1: none since the last note
  uint8_t coarse_[16][32];     // last coarse value of controllers 1 to 31 and data entry (6)
  int8_t nrpn_[16][2];         // the chosen NRPN's high and low part, -1: none
};
