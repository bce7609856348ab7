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
// prefix).
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

// What MIDI can carry of a synthesizer controller: controllers 1 to 31 with
// all 8 bits (coarse and fine), 64 to 119 (but 88) with 7, no others (0 and
// 32 to 63 select banks and carry fine parts, 120 to 127 are channel modes).
enum class Reach { kNone, kSevenBits, kFull };
inline Reach controllerReach(int controller) {
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
