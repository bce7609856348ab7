#include "songc/MidiTimeline.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "midi/MidiMapping.h"
#include "midi/MidiToSynth.h"
#include "songc/Values.h"
#include "synth/Song.h"
#include "synth/SynthModule.h"

namespace {

std::string fixed(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

// A track name fit for a message.
std::string printable(const std::string& name) {
  std::string out;
  for (char c : name)
    if (c >= 0x20 && c < 0x7F && out.size() < 40) out += c;
  return out;
}

}  // namespace

MidiTimeline::MidiTimeline(const MidiFile& midi, const std::string& fileName, const Song& song,
                           double tolerance)
    : fileName_(fileName) {
  if (midi.format > 1)
    throw MidiError(fileName_ + ": a MIDI file of format " + std::to_string(midi.format) +
                    " holds independent sequences; a song is one (save it as format 0 or 1)");
  if (midi.division & 0x8000)
    throw MidiError(fileName_ +
                    ": the file counts time in time code frames; a song needs ticks of "
                    "a quarter note (save it with metrical time)");
  if (midi.division == 0)
    throw MidiError(fileName_ + ": the file divides a quarter note into 0 ticks");
  division_ = midi.division;
  ticksPerStep_ = song.ticksPerStep ? song.ticksPerStep : 1;
  grid_ = midiGridFor(song);
  readMeta(midi, song);
  decode(midi, tolerance);
  separateNoteEnds();
  findLength(midi);
}

void MidiTimeline::readMeta(const MidiFile& midi, const Song& song) {
  trackNames_.assign(midi.tracks.size(), std::string());
  for (size_t t = 0; t < midi.tracks.size(); ++t)
    for (const MidiEvent& event : midi.tracks[t].events)
      if (event.isMeta(midiMeta::kTrackName)) {
        trackNames_[t] = printable(event.data);
        break;
      }
  readMeters(midi);
  checkTempo(midi, song);
}

void MidiTimeline::readMeters(const MidiFile& midi) {
  struct Change {
    uint32_t tick, track, numerator, denominatorPower;
  };
  std::vector<Change> changes;
  for (size_t t = 0; t < midi.tracks.size(); ++t)
    for (const MidiEvent& event : midi.tracks[t].events)
      if (event.isMeta(midiMeta::kTimeSignature) && event.data.size() >= 2)
        changes.push_back(
            {event.tick, uint32_t(t), uint8_t(event.data[0]), uint8_t(event.data[1])});
  std::stable_sort(changes.begin(), changes.end(),
                   [](const Change& a, const Change& b) { return a.tick < b.tick; });
  meters_.push_back(Meter{0, 0, 4, division_});
  for (const Change& change : changes) {
    // Only for naming places: an odd signature is taken as near as it goes.
    const uint32_t numerator = std::max<uint32_t>(1, change.numerator);
    const uint32_t power = std::min<uint32_t>(change.denominatorPower, 7);
    const uint32_t beatTicks = std::max<uint32_t>(1, division_ * 4 >> power);
    const Meter& last = meters_.back();
    const uint64_t barTicks = uint64_t(last.numerator) * last.beatTicks;
    const uint32_t bars = last.bar + uint32_t((change.tick - last.tick + barTicks - 1) / barTicks);
    // A change where the last one stands replaces it.
    if (change.tick == last.tick) meters_.pop_back();
    meters_.push_back(Meter{change.tick, bars, numerator, beatTicks});
  }
}

std::string MidiTimeline::where(uint32_t track, uint32_t midiTick) const {
  const Meter* meter = &meters_[0];
  for (const Meter& m : meters_)
    if (m.tick <= midiTick) meter = &m;
  const uint64_t into = midiTick - meter->tick;
  const uint64_t barTicks = uint64_t(meter->numerator) * meter->beatTicks;
  const uint64_t bar = meter->bar + into / barTicks + 1;
  const uint64_t beat = into % barTicks / meter->beatTicks + 1;
  const uint64_t rest = into % meter->beatTicks;
  std::string text = fileName_ + ": track " + std::to_string(track + 1);
  if (track < trackNames_.size() && !trackNames_[track].empty())
    text += " \"" + trackNames_[track] + "\"";
  const uint64_t tick = (uint64_t(midiTick) * grid_.ticksPerQuarter + division_ / 2) / division_;
  return text + ", bar " + std::to_string(bar) + " beat " + std::to_string(beat) + " +" +
         std::to_string(rest) + "/" + std::to_string(meter->beatTicks) + " (order step " +
         std::to_string(tick / ticksPerStep_) + ")";
}

void MidiTimeline::fail(uint32_t track, uint32_t midiTick, const std::string& what) const {
  throw MidiError(where(track, midiTick) + ": " + what);
}

void MidiTimeline::checkTempo(const MidiFile& midi, const Song& song) {
  struct Tempo {
    uint32_t tick, track, value;
  };
  std::vector<Tempo> tempos;
  for (size_t t = 0; t < midi.tracks.size(); ++t)
    for (const MidiEvent& event : midi.tracks[t].events)
      if (event.isMeta(midiMeta::kTempo)) {
        if (event.data.size() != 3)
          fail(uint32_t(t), event.tick,
               "a tempo event of " + std::to_string(event.data.size()) + " bytes (it has 3)");
        const auto* d = reinterpret_cast<const uint8_t*>(event.data.data());
        tempos.push_back(
            {event.tick, uint32_t(t), uint32_t(d[0]) << 16 | uint32_t(d[1]) << 8 | d[2]});
      }
  std::stable_sort(tempos.begin(), tempos.end(),
                   [](const Tempo& a, const Tempo& b) { return a.tick < b.tick; });
  for (const Tempo& tempo : tempos)
    if (tempo.value != tempos[0].value)
      fail(tempo.track, tempo.tick,
           "the tempo changes to " + fixed(beatsPerMinute(tempo.value)) + " beats a minute (from " +
               fixed(beatsPerMinute(tempos[0].value)) + "); a song keeps one tempo");
  // MIDI's tempo when a file gives none: 120 beats a minute.
  const uint32_t fileTempo = tempos.empty() ? 500000 : tempos[0].value;
  const double fileBpm = beatsPerMinute(fileTempo);
  const double songBpm = grid_.beatsPerMinute();
  if (std::fabs(fileBpm - songBpm) <= 0.005 * songBpm) return;

  // The song tempo that comes nearest to the file's.
  int nearest = 1;
  double nearestBpm = 0.0;
  for (int tempo = 1; tempo <= 255; ++tempo) {
    Song probe;
    probe.tempo = uint8_t(tempo);
    probe.speed = song.speed;
    const double bpm = midiGridFor(probe).beatsPerMinute();
    if (std::fabs(bpm - fileBpm) < std::fabs(nearestBpm - fileBpm))
      nearest = tempo, nearestBpm = bpm;
  }
  const std::string playing = "the song's tempo=" + std::to_string(song.tempo) +
                              " at speed=" + std::to_string(song.speed) + " plays " +
                              fixed(songBpm);
  const std::string advice = "; set the music program to " + fixed(songBpm) +
                             ", or the song to tempo=" + std::to_string(nearest) + " (" +
                             fixed(nearestBpm) + ")";
  if (tempos.empty())
    throw MidiError(fileName_ +
                    ": the file gives no tempo, so it plays at MIDI's 120.00 beats a minute; " +
                    playing + advice);
  fail(tempos[0].track, tempos[0].tick,
       "the file plays at " + fixed(fileBpm) + " beats a minute, " + playing + advice);
}

uint32_t MidiTimeline::toTick(uint32_t track, uint32_t midiTick, double tolerance,
                              const std::string& what) const {
  const uint64_t scaled = uint64_t(midiTick) * grid_.ticksPerQuarter;
  const uint64_t tick = (scaled + division_ / 2) / division_;
  const double off = std::fabs(double(scaled) - double(tick * division_)) / division_;
  if (off > tolerance + 1e-9)
    fail(track, midiTick,
         what + " " + fixed(off) + " ticks off the song's tick grid (the tolerance is " +
             fixed(tolerance) + "; --tolerance 0.5 moves every event to its nearest tick)");
  return uint32_t(tick);
}

void MidiTimeline::decode(const MidiFile& midi, double tolerance) {
  struct Message {
    uint32_t tick, track;
    const MidiEvent* event;
  };
  std::vector<Message> messages;
  for (size_t t = 0; t < midi.tracks.size(); ++t)
    for (const MidiEvent& event : midi.tracks[t].events)
      if (event.isChannelMessage()) messages.push_back({event.tick, uint32_t(t), &event});
  // Tracks side by side: at one tick, track by track, each in file order.
  std::stable_sort(messages.begin(), messages.end(), [](const Message& a, const Message& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.track < b.track;
  });
  MidiToSynth decoder;
  for (const Message& message : messages) {
    const MidiEvent& in = *message.event;
    const int type = in.status & 0xF0;
    const bool noteOn = type == 0x90 && in.data2 != 0;
    if (noteOn && int(in.data1) - midimap::kNoteOffset < midimap::kLowestNote)
      fail(message.track, message.tick,
           "MIDI note " + std::to_string(in.data1) +
               " lies below C1 (MIDI note 24), the lowest note of a song");
    MidiToSynth::Event out;
    if (!decoder.decode(in.status, in.data1, in.data2, &out)) continue;
    const int number = int(out.value & 0xFFFF);
    const std::string what =
        out.kind == eventKind::kController
            ? "controller " + std::to_string(number) + " changes"
            : "note " + noteName(number) + (out.kind == eventKind::kNoteOn ? " starts" : " ends");
    const uint32_t tick = toTick(message.track, message.tick, tolerance, what);
    channels_[out.channel].push_back(
        TimedEvent{tick, out.kind, out.value, message.tick, message.track});
  }
}

void MidiTimeline::separateNoteEnds() {
  // A note that ends on the tick it starts ends a tick later: a row cannot
  // start and release the same column. The moved end goes first at its tick.
  for (auto& events : channels_) {
    std::vector<bool> moved(events.size(), false);
    // Start ticks of each note, oldest first from head[note] on.
    std::vector<uint32_t> starts[256];
    size_t head[256] = {};
    bool any = false;
    for (size_t i = 0; i < events.size(); ++i) {
      TimedEvent& event = events[i];
      const uint32_t note = event.value & 0xFF;
      if (event.kind == eventKind::kNoteOn) starts[note].push_back(event.tick);
      if (event.kind != eventKind::kNoteOff || head[note] == starts[note].size()) continue;
      const uint32_t start = starts[note][head[note]++];
      if (start == event.tick) {
        ++event.tick;
        moved[i] = any = true;
      }
    }
    if (!any) continue;
    std::vector<size_t> order(events.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      if (events[a].tick != events[b].tick) return events[a].tick < events[b].tick;
      return moved[a] && !moved[b];
    });
    std::vector<TimedEvent> sorted;
    sorted.reserve(events.size());
    for (size_t i : order) sorted.push_back(events[i]);
    events.swap(sorted);
  }
}

void MidiTimeline::findLength(const MidiFile& midi) {
  const uint64_t limit = uint64_t(kMaxSteps) * ticksPerStep_;
  uint64_t end = 0;
  for (const auto& events : channels_)
    for (const TimedEvent& event : events) {
      if (event.kind == eventKind::kNoteOff) continue;
      if (event.tick >= limit)
        fail(event, "this lies beyond order step " + std::to_string(kMaxSteps - 1) +
                        ", the last a song holds");
      end = std::max<uint64_t>(end, uint64_t(event.tick) + 1);
    }
  for (size_t t = 0; t < midi.tracks.size(); ++t) {
    const uint32_t trackEnd = midi.tracks[t].endTick;
    const uint64_t tick = (uint64_t(trackEnd) * grid_.ticksPerQuarter + division_ / 2) / division_;
    if (tick > limit)
      fail(uint32_t(t), trackEnd,
           "the track ends beyond order step " + std::to_string(kMaxSteps - 1) +
               ", the last a song holds");
    end = std::max(end, tick);
  }
  steps_ = uint32_t((end + ticksPerStep_ - 1) / ticksPerStep_);
  if (steps_ == 0)
    throw MidiError(fileName_ + ": the file plays no note and changes no controller");
  // Notes still sounding at the song's end ring on, as at the end of any song.
  const uint64_t songEnd = uint64_t(steps_) * ticksPerStep_;
  for (auto& events : channels_)
    events.erase(std::remove_if(events.begin(), events.end(),
                                [&](const TimedEvent& e) { return e.tick >= songEnd; }),
                 events.end());
}
