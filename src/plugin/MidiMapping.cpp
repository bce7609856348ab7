#include "plugin/MidiMapping.h"

#include <cstring>

#include "synth/SynthModule.h"

namespace midimap {

namespace {

constexpr int kDataCoarse = 6;
constexpr int kDataFine = 38;
constexpr int kNrpnLow = 98;
constexpr int kNrpnHigh = 99;
constexpr int kRpnLow = 100;
constexpr int kRpnHigh = 101;
constexpr int kAllSoundOff = 120;
constexpr int kAllNotesOff = 123;

// Controllers MIDI gives a meaning of its own, which never reach the
// synthesizer by number.
bool reserved(int number) {
  return number == kDataCoarse || number == kDataFine || number == kVelocityPrefix ||
         (number >= 96 && number <= kRpnHigh);
}

}  // namespace

void Decoder::reset() {
  for (Channel& c : channels_) {
    c.velocityLow = 0;
    for (int16_t& coarse : c.coarse) coarse = -1;
    c.nrpnHigh = c.nrpnLow = c.nrpnCoarse = -1;
    std::memset(c.held, 0, sizeof c.held);
  }
}

void Decoder::decode(const uint8_t* data, uint32_t size, EventSink& sink) {
  if (size < 3) return;
  const int status = data[0] & 0xF0;
  const int channel = data[0] & 0x0F;
  const int key = data[1] & 0x7F;
  const int byte2 = data[2] & 0x7F;
  Channel& c = channels_[channel];
  if (status == 0xB0) {
    controller(channel, key, byte2, sink);
    return;
  }
  if (status != 0x80 && status != 0x90) return;
  const uint32_t velocity = uint32_t(byte2) << 1 | c.velocityLow >> 6;
  c.velocityLow = 0;
  const bool on = status == 0x90 && byte2 != 0;
  const uint32_t bit = 1u << (key & 31);
  if (on) {
    c.held[key >> 5] |= bit;
  } else {
    c.held[key >> 5] &= ~bit;
  }
  const int note = key - kKeyOffset;
  if (note < 1) return;
  sink.event(channel, on ? eventKind::kNoteOn : eventKind::kNoteOff, uint32_t(note) | velocity << 16,
             false);
}

void Decoder::controller(int channel, int number, int value, EventSink& sink) {
  Channel& c = channels_[channel];
  const auto send = [&](int controllerNumber, uint32_t v, bool completes) {
    sink.event(channel, eventKind::kController, uint32_t(controllerNumber) | v << 16, completes);
  };
  if (number == kVelocityPrefix) {
    c.velocityLow = uint8_t(value);
  } else if (number == kNrpnHigh || number == kNrpnLow) {
    (number == kNrpnHigh ? c.nrpnHigh : c.nrpnLow) = int16_t(value);
    c.nrpnCoarse = -1;
  } else if (number == kRpnHigh || number == kRpnLow) {
    c.nrpnHigh = c.nrpnLow = c.nrpnCoarse = -1;
  } else if (number == kDataCoarse || number == kDataFine) {
    if (c.nrpnHigh < 0 || c.nrpnLow < 0) return;
    const int target = c.nrpnHigh << 7 | c.nrpnLow;
    if (target < 1 || target > 255) return;
    if (number == kDataCoarse) {
      c.nrpnCoarse = int16_t(value);
      send(target, uint32_t(value) << 1, false);
    } else if (c.nrpnCoarse >= 0) {
      send(target, uint32_t(c.nrpnCoarse) << 1 | uint32_t(value) >> 6, true);
    }
  } else if (number >= 1 && number < 32) {
    c.coarse[number] = int16_t(value);
    send(number, uint32_t(value) << 1, false);
  } else if (number >= 33 && number < 64) {
    const int coarse = c.coarse[number - 32];
    if (coarse >= 0) send(number - 32, uint32_t(coarse) << 1 | uint32_t(value) >> 6, true);
  } else if (number >= 64 && number < 120 && !reserved(number)) {
    send(number, uint32_t(value) << 1, false);
  } else if (number == kAllSoundOff || number >= kAllNotesOff) {
    releaseAll(channel, sink);
  }
}

void Decoder::releaseAll(int channel, EventSink& sink) {
  Channel& c = channels_[channel];
  for (int key = 0; key < 128; ++key) {
    const uint32_t bit = 1u << (key & 31);
    if (!(c.held[key >> 5] & bit)) continue;
    c.held[key >> 5] &= ~bit;
    if (key - kKeyOffset >= 1) sink.event(channel, eventKind::kNoteOff, uint32_t(key - kKeyOffset), false);
  }
}

int encode(int channel, int kind, uint32_t value, uint8_t messages[kMaxMessages][3]) {
  if (channel < 0 || channel > 15) return 0;
  int count = 0;
  const auto put = [&](int status, int a, int b) {
    messages[count][0] = uint8_t(status | channel);
    messages[count][1] = uint8_t(a);
    messages[count][2] = uint8_t(b);
    ++count;
  };
  const uint32_t number = value & 0xFFFF;
  const uint32_t v = (value >> 16) & 0xFF;
  if (kind == eventKind::kNoteOn || kind == eventKind::kNoteOff) {
    const int key = int(number) + kKeyOffset;
    if (number < 1 || key > 127) return 0;
    if (kind == eventKind::kNoteOn && v < 2) return 0;
    if (v & 1) put(0xB0, kVelocityPrefix, 64);
    put(kind == eventKind::kNoteOn ? 0x90 : 0x80, key, int(v >> 1));
    return count;
  }
  if (kind != eventKind::kController || number < 1 || number > 255) return 0;
  if (number < 32 && number != kDataCoarse) {
    put(0xB0, int(number), int(v >> 1));
    if (v & 1) put(0xB0, int(number) + 32, 64);
  } else {
    put(0xB0, kNrpnHigh, int(number >> 7));
    put(0xB0, kNrpnLow, int(number & 127));
    put(0xB0, kDataCoarse, int(v >> 1));
    if (v & 1) put(0xB0, kDataFine, 64);
  }
  return count;
}

}  // namespace midimap
