#include "midi/SynthToMidi.h"

#include "midi/MidiMapping.h"
#include "synth/SynthModule.h"

namespace {

// The message for 8-bit value v, preceded by the one that carries its low
// bit when v >> 1 alone would not give v back.
int withLowBit(uint8_t status, uint8_t data1, uint8_t value, uint8_t carrierStatus,
               uint8_t carrierNumber, bool carrierFirst, MidiMessage out[2]) {
  const MidiMessage main{status, data1, uint8_t(value >> 1)};
  if (midimap::widensAlone(value)) {
    out[0] = main;
    return 1;
  }
  const MidiMessage carrier{carrierStatus, carrierNumber, uint8_t((value & 1) << 6)};
  out[0] = carrierFirst ? carrier : main;
  out[1] = carrierFirst ? main : carrier;
  return 2;
}

}  // namespace

int encodeSynthEvent(int channel, int kind, uint32_t value, MidiMessage out[midimap::kMaxMessages],
                     std::string* problem) {
  if (channel < 0 || channel > 15) {
    *problem = "channel " + std::to_string(channel) + " has no MIDI channel";
    return 0;
  }
  const uint8_t controlStatus = uint8_t(0xB0 | channel);
  const uint8_t level = uint8_t(value >> 16);
  if (kind == eventKind::kNoteOn || kind == eventKind::kNoteOff) {
    const int note = int16_t(value & 0xFFFF);
    if (note < midimap::kLowestNote || note > midimap::kHighestNote) {
      *problem = "note " + std::to_string(note) + " is outside MIDI's notes (1 to " +
                 std::to_string(midimap::kHighestNote) + ", C1 to G9)";
      return 0;
    }
    // A note-on's MIDI velocity must not be 0, which would end the note.
    if (kind == eventKind::kNoteOn && level < 2) {
      *problem = "a note-on of velocity " + std::to_string(level) +
                 " has no MIDI note-on (the lowest is 2)";
      return 0;
    }
    const uint8_t status = uint8_t((kind == eventKind::kNoteOn ? 0x90 : 0x80) | channel);
    return withLowBit(status, uint8_t(note + midimap::kNoteOffset), level, controlStatus,
                      midimap::kVelocityPrefix, true, out);
  }
  if (kind != eventKind::kController) {
    *problem = "event kind " + std::to_string(kind) + " has no MIDI message";
    return 0;
  }
  const int controller = int(value & 0xFFFF);
  if (controller < 1 || controller > midimap::kHighestController) {
    *problem = "controller " + std::to_string(controller) + " has no MIDI form (controllers are 1 to " +
               std::to_string(midimap::kHighestController) + ")";
    return 0;
  }
  const midimap::Reach reach = midimap::controllerReach(controller);
  if (reach == midimap::Reach::kFull)
    return withLowBit(controlStatus, uint8_t(controller), level, controlStatus,
                      uint8_t(controller + midimap::kFineOffset), false, out);
  if (reach == midimap::Reach::kSevenBits && midimap::widensAlone(level)) {
    out[0] = MidiMessage{controlStatus, uint8_t(controller), uint8_t(level >> 1)};
    return 1;
  }
  // Anything else as an NRPN of the controller's number.
  out[0] = MidiMessage{controlStatus, midimap::kNrpnHigh, uint8_t(controller >> 7)};
  out[1] = MidiMessage{controlStatus, midimap::kNrpnLow, uint8_t(controller & 0x7F)};
  return 2 + withLowBit(controlStatus, midimap::kDataEntry, level, controlStatus,
                        midimap::kDataEntry + midimap::kFineOffset, false, out + 2);
}
