// MIDI files for the tests, written note by note, and the events a song
// plays, for comparing the two.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "music/SongPlayer.h"
#include "songc/MidiFile.h"
#include "synth/Song.h"
#include "synth/SynthModule.h"

// A MIDI file under construction: track 0 holds the tempo; events at one
// tick keep the order they were added in.
class MidiScore {
 public:
  // brumtakt's tempo (68 at speed 4: 440816 microseconds a quarter note);
  // 96 ticks a quarter note make 6 a sequencer tick.
  explicit MidiScore(uint16_t division = 96, int tempo = 440816) {
    midi_.division = division;
    midi_.tracks.resize(1);
    if (tempo >= 0)
      meta(0, 0, midiMeta::kTempo,
           {char(tempo >> 16), char(tempo >> 8 & 0xFF), char(tempo & 0xFF)});
  }

  MidiScore& event(uint32_t track, uint32_t tick, uint8_t status, uint8_t data1,
                   uint8_t data2 = 0) {
    MidiEvent e;
    e.tick = tick;
    e.status = status;
    e.data1 = data1;
    e.data2 = data2;
    return add(track, e);
  }
  MidiScore& note(uint32_t track, uint32_t tick, uint32_t length, int channel, int key,
                  int velocity, int offVelocity = 0) {
    event(track, tick, uint8_t(0x90 | channel), uint8_t(key), uint8_t(velocity));
    return event(track, tick + length, uint8_t(0x80 | channel), uint8_t(key), uint8_t(offVelocity));
  }
  MidiScore& controller(uint32_t track, uint32_t tick, int channel, int number, int value) {
    return event(track, tick, uint8_t(0xB0 | channel), uint8_t(number), uint8_t(value));
  }
  MidiScore& meta(uint32_t track, uint32_t tick, uint8_t type, std::string data) {
    MidiEvent e;
    e.tick = tick;
    e.status = MidiEvent::kMeta;
    e.data1 = type;
    e.data = std::move(data);
    return add(track, e);
  }
  MidiScore& format(uint16_t value) {
    midi_.format = value;
    return *this;
  }

  MidiFile file() const {
    MidiFile out = midi_;
    for (MidiTrack& track : out.tracks) {
      std::stable_sort(track.events.begin(), track.events.end(),
                       [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
      track.endTick = track.events.empty() ? 0 : track.events.back().tick;
    }
    return out;
  }
  std::vector<uint8_t> bytes() const { return writeMidiFile(file()); }

 private:
  MidiScore& add(uint32_t track, const MidiEvent& e) {
    if (midi_.tracks.size() <= track) midi_.tracks.resize(track + 1);
    midi_.tracks[track].events.push_back(e);
    return *this;
  }

  MidiFile midi_;
};

// One event the sequencer sends.
struct SentEvent {
  uint32_t tick;
  int channel;
  int kind;
  uint32_t value;
  bool operator==(const SentEvent& o) const {
    return tick == o.tick && channel == o.channel && kind == o.kind && value == o.value;
  }
};

inline SentEvent noteOn(uint32_t tick, int channel, int note, int velocity) {
  return {tick, channel, eventKind::kNoteOn, uint32_t(note) | uint32_t(velocity) << 16};
}
inline SentEvent noteOff(uint32_t tick, int channel, int note, int velocity) {
  return {tick, channel, eventKind::kNoteOff, uint32_t(note) | uint32_t(velocity) << 16};
}
inline SentEvent control(uint32_t tick, int channel, int controller, int value) {
  return {tick, channel, eventKind::kController, uint32_t(controller) | uint32_t(value) << 16};
}

// What the sequencer sends playing the song from its start for `ticks`
// ticks, leaving out controller values sent again unchanged (the synthesizer
// keeps only the latest value, so they change nothing).
inline std::vector<SentEvent> playedEvents(const Song& song, uint32_t ticks) {
  struct Recorder : SongPlayer::EventTarget {
    uint32_t tick = 0;
    int last[16][256];
    std::vector<SentEvent> events;
    Recorder() { std::fill(&last[0][0], &last[0][0] + 16 * 256, -1); }
    void event(int channel, int kind, uint32_t value) override {
      if (kind == eventKind::kController) {
        int& previous = last[channel & 15][value & 0xFF];
        if (previous == int(value >> 16 & 0xFF)) return;
        previous = int(value >> 16 & 0xFF);
      }
      events.push_back({tick, channel, kind, value});
    }
  } recorder;
  SongPlayer player;
  player.song = &song;
  for (; recorder.tick < ticks; ++recorder.tick) player.tick(recorder);
  return recorder.events;
}

inline std::ostream& operator<<(std::ostream& out, const SentEvent& e) {
  return out << "{tick " << e.tick << ", channel " << e.channel << ", kind " << e.kind
             << ", value 0x" << std::hex << e.value << std::dec << "}";
}
