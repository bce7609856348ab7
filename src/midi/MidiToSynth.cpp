#include "midi/MidiToSynth.h"

#include <cstring>

#include "midi/MidiMapping.h"
#include "synth/SynthModule.h"

void MidiToSynth::reset() {
  std::memset(velocityPrefix_, -1, sizeof velocityPrefix_);
  std::memset(coarse_, 0, sizeof coarse_);
  std::memset(nrpn_, -1, sizeof nrpn_);
}

bool MidiToSynth::decode(uint8_t status, uint8_t data1, uint8_t data2, Event* out) {
  const int channel = status & 0x0F;
  const int type = status & 0xF0;
  data1 &= 0x7F;
  data2 &= 0x7F;
  if (type == 0x80 || type == 0x90) {
    // The prefix belongs to this note, whether it sounds or not.
    const int prefix = velocityPrefix_[channel];
    velocityPrefix_[channel] = -1;
    const int note = int(data1) - midimap::kNoteOffset;
    if (note < midimap::kLowestNote) return false;
    const bool on = type == 0x90 && data2 != 0;
    // A note-on of velocity 0 is a note-off (of velocity 0, or 1 by a prefix).
    const uint32_t velocity = midimap::widen(data2, prefix);
    *out = Event{channel, on ? eventKind::kNoteOn : eventKind::kNoteOff,
                 uint32_t(note) | velocity << 16};
    return true;
  }
  if (type != 0xB0) return false;
  const int number = data1;
  int8_t* nrpn = nrpn_[channel];
  switch (number) {
    case midimap::kVelocityPrefix:
      velocityPrefix_[channel] = int8_t(data2);
      return false;
    case midimap::kNrpnHigh:
      nrpn[0] = int8_t(data2);
      return false;
    case midimap::kNrpnLow:
      nrpn[1] = int8_t(data2);
      return false;
    case midimap::kRpnHigh:
    case midimap::kRpnLow:
      // Data entry now sets a registered parameter, none of the synthesizer's.
      nrpn[0] = nrpn[1] = -1;
      return false;
    default:
      break;
  }
  // A fine part (33 to 63) completes the last coarse value of its pair;
  // data entry's pair (6, 38) sets the chosen NRPN.
  const bool fine = number > midimap::kFineOffset && number < 2 * midimap::kFineOffset;
  const int slot = fine ? number - midimap::kFineOffset : number;
  int controller = slot;
  if (slot == midimap::kDataEntry) {
    if (nrpn[0] < 0 || nrpn[1] < 0) return false;
    controller = nrpn[0] << 7 | nrpn[1];
    if (controller < 1 || controller > midimap::kHighestController) return false;
  } else if (!fine && midimap::controllerReach(number) == midimap::Reach::kNone) {
    return false;
  }
  uint8_t value = 0;
  if (fine) {
    value = midimap::widen(coarse_[channel][slot], data2);
  } else {
    if (slot < midimap::kFineOffset) coarse_[channel][slot] = data2;
    value = midimap::widen(data2, -1);
  }
  *out = Event{channel, eventKind::kController, uint32_t(controller) | uint32_t(value) << 16};
  return true;
}
