// A MIDI file's music as the sequencer would send it: the channel messages of
// every track merged in time, decoded into synthesizer events by MidiToSynth
// (the plugin's own decoder), and each moved onto the song's tick grid
// (MidiGrid.h). It refuses what no song can hold: time code instead of
// quarter notes, independent sequences (format 2), a tempo other than the
// song's or a change of tempo, notes outside C1 to G9, events farther from a
// tick than the tolerance, and more order steps than a list holds. Every
// refusal names the place: the track, bar, beat and tick, and the order step.
//
// Glossary: place = a track and a MIDI tick; the tolerance = how far (in
// sequencer ticks) an event may lie from the nearest tick and still be moved
// onto it.
//
// How to use:
//   MidiTimeline timeline(midi, "song.mid", song, 0.25);
//   for (const TimedEvent& e : timeline.channel(3)) ...   // tick order
//   timeline.fail(e, "what is wrong");                     // throws MidiError
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "songc/MidiFile.h"
#include "songc/MidiGrid.h"

struct Song;

struct TimedEvent {
  uint32_t tick;   // sequencer tick from the song's start
  int kind;        // eventKind
  uint32_t value;  // as Synth::event takes it
  uint32_t midiTick;
  uint32_t track;  // 0-based
};

class MidiTimeline {
 public:
  static constexpr uint32_t kMaxSteps = 65535;

  MidiTimeline(const MidiFile& midi, const std::string& fileName, const Song& song,
               double tolerance);

  // Events of synthesizer channel k (0 to 15) in the order they are sent.
  const std::vector<TimedEvent>& channel(int k) const { return channels_[k]; }
  // Order steps that hold every note start and controller change (and reach
  // the end of the longest track); note ends beyond them are left out.
  uint32_t steps() const { return steps_; }

  [[noreturn]] void fail(const TimedEvent& event, const std::string& what) const {
    fail(event.track, event.midiTick, what);
  }
  [[noreturn]] void fail(uint32_t track, uint32_t midiTick, const std::string& what) const;
  // "song.mid: track 2 "bass", bar 5 beat 3 +120/480 (order step 1)"
  std::string where(uint32_t track, uint32_t midiTick) const;

 private:
  struct Meter {
    uint32_t tick;
    uint32_t bar;  // bars before it
    uint32_t numerator;
    uint32_t beatTicks;
  };

  void readMeta(const MidiFile& midi, const Song& song);
  void checkTempo(const MidiFile& midi, const Song& song);
  void readMeters(const MidiFile& midi);
  void decode(const MidiFile& midi, double tolerance);
  uint32_t toTick(uint32_t track, uint32_t midiTick, double tolerance,
                  const std::string& what) const;
  void separateNoteEnds();
  void findLength(const MidiFile& midi);

  std::string fileName_;
  uint32_t division_ = 960;
  uint32_t ticksPerStep_ = 256;
  MidiGrid grid_{};
  std::vector<std::string> trackNames_;
  std::vector<Meter> meters_;
  std::vector<TimedEvent> channels_[16];
  uint32_t steps_ = 0;
};
