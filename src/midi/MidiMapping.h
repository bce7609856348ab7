// How MIDI 1.0 meets the synthesizer: which note, velocity and controller
// numbers stand for which synthesizer values. The decoder (MidiToSynth.h),
// the encoder (SynthToMidi.h) and the song compiler's MIDI files all follow
// these rules, so that what a music program plays through the plugin is
// what the song plays in the show.
//
// Glossary: coarse = the 7-bit value of a MIDI controller n (1 to 31); fine =
// the value of controller n + 32, whose top bit adds the eighth bit; the
// velocity prefix = controller 88, whose top bit adds the eighth bit of the
// next note's velocity (the MIDI association's high-resolution velocity
// prefix); NRPN = a non-registered parameter number, chosen with
// controllers 99 and 98, whose value data entry (6, fine part 38) carries.
//
// The synthesizer's values are 8 bits wide, MIDI's 7 bits: a value v is sent
// as v >> 1, and its low bit travels in a fine controller or the velocity
// prefix when it differs from the top bit of v >> 1 (so 127 alone means 255,
// and a keyboard's loudest note plays at the synthesizer's full velocity).
#pragma once

#include <cstdint>

namespace midimap {

// Synthesizer note n is MIDI note n + 23, so the names agree: C1 is 1 in a
// song and 24 in MIDI, A4 46 and 69. MIDI reaches synthesizer notes 1 to 104.
constexpr int kNoteOffset = 23;
constexpr int kLowestNote = 1;
constexpr int kHighestNote = 127 - kNoteOffset;

constexpr int kVelocityPrefix = 88;
constexpr int kFineOffset = 32;

// Synthesizer controllers are 1 to 255.
constexpr int kHighestController = 255;
// The controllers MIDI keeps for parameter numbers: data entry and its fine
// part, increment and decrement (96, 97), NRPN (99 high, 98 low) and RPN
// (101, 100) numbers.
constexpr int kDataEntry = 6;
constexpr int kNrpnLow = 98;
constexpr int kNrpnHigh = 99;
constexpr int kRpnLow = 100;
constexpr int kRpnHigh = 101;
inline bool keptForParameters(int number) {
  return number == kDataEntry || number == kDataEntry + kFineOffset ||
         (number >= 96 && number <= kRpnHigh);
}
// The most messages one synthesizer event takes (an NRPN: 99, 98, 6, 38).
constexpr int kMaxMessages = 4;

// What the controller message of a synthesizer controller's own number
// carries: controllers 1 to 31 all 8 bits (coarse and fine), 64 to 119 7
// bits, none for 0, 32 to 63 (bank select, fine parts), 120 to 127 (channel
// modes), 88 and those kept for parameter numbers. Every controller 1 to 255
// whose value its own message cannot carry travels as an NRPN of its number,
// with all 8 bits.
enum class Reach { kNone, kSevenBits, kFull };
inline Reach controllerReach(int controller) {
  if (keptForParameters(controller)) return Reach::kNone;
  if (controller >= 1 && controller < kFineOffset) return Reach::kFull;
  if (controller >= 64 && controller <= 119 && controller != kVelocityPrefix)
    return Reach::kSevenBits;
  return Reach::kNone;
}

// The 8-bit value of a 7-bit one: the fine part's top bit below it, or
// without a fine part (fine < 0) the value's own top bit.
inline uint8_t widen(int coarse, int fine) {
  const int low = fine >= 0 ? (fine >> 6) & 1 : (coarse >> 6) & 1;
  return uint8_t((coarse & 0x7F) << 1 | low);
}

// Whether widen(v >> 1, none) gives v back: no fine part needed.
inline bool widensAlone(uint8_t value) { return widen(value >> 1, -1) == value; }

}  // namespace midimap
