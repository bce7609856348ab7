// Standard MIDI Files: the chunks and events of a file read into tracks of
// timed events, and written back. Reading checks every length and byte
// against the file's end and reports the first fault with its place; it
// knows nothing of songs (MidiImport.h gives the events their meaning).
//
// Glossary: tick = the file's unit of time, `division` of them a quarter
// note; meta event = a non-sounding event (name, tempo, time signature, end
// of track); running status = channel messages that leave out a repeated
// status byte.
//
// How to use:
//   MidiFile midi = readMidiFile(bytes.data(), bytes.size(), "song.mid");
//   for (const MidiTrack& track : midi.tracks) for (const MidiEvent& e : track.events) ...
//   std::vector<uint8_t> out = writeMidiFile(midi);
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace midiMeta {
constexpr uint8_t kTrackName = 0x03;
constexpr uint8_t kMarker = 0x06;
constexpr uint8_t kEndOfTrack = 0x2F;
constexpr uint8_t kTempo = 0x51;
constexpr uint8_t kTimeSignature = 0x58;
}  // namespace midiMeta

struct MidiEvent {
  static constexpr uint8_t kMeta = 0xFF;

  uint32_t tick = 0;   // from the start of the file
  uint8_t status = 0;  // 0x80-0xEF channel message, kMeta, or 0xF0/0xF7 system exclusive
  uint8_t data1 = 0;   // first data byte, or the meta event's type
  uint8_t data2 = 0;
  std::string data;  // the payload of meta and system-exclusive events

  bool isChannelMessage() const { return status >= 0x80 && status < 0xF0; }
  bool isMeta(uint8_t type) const { return status == kMeta && data1 == type; }
};

struct MidiTrack {
  std::vector<MidiEvent> events;  // in file order, ticks never decreasing
  uint32_t endTick = 0;           // of its end-of-track event (or last event)
};

struct MidiFile {
  uint16_t format = 1;
  uint16_t division = 960;  // ticks a quarter note; the top bit marks time code
  std::vector<MidiTrack> tracks;
};

// A file that is not a MIDI file, is cut short or breaks the format (the
// message names the file, the track and the byte), or a MIDI file that does
// not fit a song, or a song that does not fit MIDI (the message names the
// place in the music).
class MidiError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

MidiFile readMidiFile(const uint8_t* data, size_t size, const std::string& fileName);
// Reads the whole file first (at most 64 MiB).
MidiFile readMidiFile(const std::string& path);

// Tracks are written in order, each event at its tick (events sorted by
// tick), every track closed by its end-of-track event at endTick.
std::vector<uint8_t> writeMidiFile(const MidiFile& midi);
