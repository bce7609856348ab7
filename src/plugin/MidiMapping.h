// How the synthesizer's events travel as MIDI 1.0 messages, both ways: the
// plugin turns the messages a host sends into Synth::event calls, and a
// song's events (SongPlayer's) turn into messages that play the same sound.
//
// MIDI channel k is synthesizer channel k. Velocities and controller values
// are 8 bits in the synthesizer and 7 in MIDI, so the eighth bit rides in
// the places MIDI keeps for finer values:
//
// | synthesizer event        | MIDI messages                                          |
// |--------------------------|--------------------------------------------------------|
// | note n (1 to 104)        | key n + 23: the song source's names are the keys' names |
// |                          | (A-4, note 46, is key 69; 440 Hz at multiplier 1)      |
// | velocity v (note on 2 to | note velocity v >> 1; an odd v is preceded by          |
// |   255, note off 0 to 255)| controller 88 = 64 (high-resolution velocity prefix)  |
// | controller c, value v,   | controller c = v >> 1, then, for an odd v,             |
// |   c 1 to 31 but not 6    |   controller c + 32 = 64 (the fine half of the pair)  |
// | any other controller     | NRPN c: controller 99 = c >> 7, 98 = c & 127,          |
// |   1 to 255               |   6 = v >> 1, then 38 = 64 for an odd v                |
//
// Received besides: controllers 64 to 119 that MIDI does not reserve (88,
// 96 to 101 are taken) reach controller c with the value x 2, so a knob
// can move one; a note on with velocity 0 is a note off; controllers 120
// and 123 to 127 release every note the channel holds. A fine half alone
// completes the controller event just before it when that event is its
// coarse half, so a pair makes one event, as the sequencer sends it.
//
// Glossary: coarse/fine half — the two controllers of a 14-bit pair (0 to
// 31 and 32 to 63); NRPN — a controller number chosen with 99 and 98 whose
// value comes through 6 and 38.
#pragma once

#include <cstdint>

namespace midimap {

constexpr int kKeyOffset = 23;
constexpr int kVelocityPrefix = 88;
constexpr int kMaxMessages = 4;

// Where decoded events go.
class EventSink {
 public:
  virtual ~EventSink() = default;
  // kind: eventKind; value: as Synth::event takes it. completes: the event
  // is the fine half of the controller event sent just before it on the
  // same channel, and may replace it.
  virtual void event(int channel, int kind, uint32_t value, bool completes) = 0;
};

// The state MIDI keeps between messages, per channel: the velocity prefix,
// the coarse halves, the chosen NRPN, the keys held. Decoding allocates
// nothing.
class Decoder {
 public:
  Decoder() { reset(); }
  void reset();
  // One message (running status is not used by hosts); anything that is not
  // a note or a controller is ignored.
  void decode(const uint8_t* data, uint32_t size, EventSink& sink);

 private:
  struct Channel {
    uint8_t velocityLow;      // prefix for the next note message
    int16_t coarse[32];       // last coarse half per controller, -1: none
    int16_t nrpnHigh, nrpnLow;  // chosen NRPN, -1: none
    int16_t nrpnCoarse;       // its last coarse value, -1: none
    uint32_t held[4];         // 128 keys
  };
  void controller(int channel, int number, int value, EventSink& sink);
  void releaseAll(int channel, EventSink& sink);

  Channel channels_[16];
};

// The messages (3 bytes each) that carry one synthesizer event, in order;
// returns how many, 0 when the event has no MIDI form: a note outside 1 to
// 104, a note on with velocity 0 or 1, a controller 0 or above 255, a
// channel outside 0 to 15.
int encode(int channel, int kind, uint32_t value, uint8_t messages[kMaxMessages][3]);

}  // namespace midimap
