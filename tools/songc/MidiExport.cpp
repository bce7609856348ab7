#include "songc/MidiExport.h"

#include <algorithm>
#include <cstring>

#include "midi/SynthToMidi.h"
#include "music/SongPlayer.h"
#include "songc/MidiGrid.h"
#include "synth/Song.h"
#include "synth/SynthModule.h"

namespace {

MidiEvent meta(uint32_t tick, uint8_t type, std::string data) {
  MidiEvent event;
  event.tick = tick;
  event.status = MidiEvent::kMeta;
  event.data1 = type;
  event.data = std::move(data);
  return event;
}

// Takes the sequencer's events of one tick into the channels' tracks.
class TrackWriter : public SongPlayer::EventTarget {
 public:
  TrackWriter(const Song& song, uint32_t ticksPerTick) : song_(song), ticksPerTick_(ticksPerTick) {
    std::memset(lastValue_, -1, sizeof lastValue_);
  }

  void setTick(uint32_t tick) { tick_ = tick; }

  void event(int channel, int kind, uint32_t value) override {
    if (channel < 0 || channel >= Song::kMaxChannels) return;
    if (kind == eventKind::kController) {
      int16_t& last = lastValue_[channel][value & 0xFF];
      if (last == int16_t(value >> 16 & 0xFF)) return;
      last = int16_t(value >> 16 & 0xFF);
    }
    MidiMessage messages[midimap::kMaxMessages];
    std::string problem;
    const int count = encodeSynthEvent(channel, kind, value, messages, &problem);
    if (count == 0) throw MidiError(place(channel) + ": " + problem);
    for (int i = 0; i < count; ++i) add(channel, messages[i]);
    const int note = int16_t(value & 0xFFFF);
    if (kind == eventKind::kNoteOn) ++sounding_[channel][note];
    if (kind == eventKind::kNoteOff && sounding_[channel][note] > 0) --sounding_[channel][note];
  }

  // Note-offs of velocity 0 for every note still sounding.
  void endNotes() {
    for (int channel = 0; channel < Song::kMaxChannels; ++channel)
      for (int note = 0; note < 128; ++note)
        for (int n = sounding_[channel][note]; n > 0; --n)
          event(channel, eventKind::kNoteOff, uint32_t(note));
  }

  std::vector<MidiEvent>& track(int channel) { return tracks_[channel]; }

 private:
  void add(int channel, const MidiMessage& message) {
    MidiEvent event;
    event.tick = tick_ * ticksPerTick_;
    event.status = message.status;
    event.data1 = message.data1;
    event.data2 = message.data2;
    tracks_[channel].push_back(event);
  }

  std::string place(int channel) const {
    const uint32_t step = song_.ticksPerStep ? tick_ / song_.ticksPerStep : 0;
    return "order step " + std::to_string(step) + ", channel " + std::to_string(channel) +
           ", tick " + std::to_string(tick_ - step * song_.ticksPerStep) + " of the step";
  }

  const Song& song_;
  uint32_t ticksPerTick_;
  uint32_t tick_ = 0;
  int16_t lastValue_[Song::kMaxChannels][256];
  int sounding_[Song::kMaxChannels][128] = {};
  std::vector<MidiEvent> tracks_[Song::kMaxChannels];
};

}  // namespace

MidiFile exportMidi(const Song& song, const std::string& title) {
  const MidiGrid grid = midiGridFor(song);
  const uint32_t tempo = grid.microsecondsPerQuarter();
  if (tempo > 0xFFFFFF)
    throw MidiError("the song's quarter note (" + std::to_string(grid.ticksPerQuarter) +
                    " ticks) lasts longer than a MIDI tempo can say (16.7 seconds)");
  const uint32_t ticksPerTick = grid.exportTicksPerTick();
  if (uint64_t(grid.ticksPerQuarter) * ticksPerTick > 0x7FFF)
    throw MidiError("the song's quarter note has more ticks than a MIDI file can divide it into");

  size_t length = 0;
  const size_t lists = std::min<size_t>(song.channelCount, song.orderLists.size());
  for (size_t k = 0; k < lists; ++k) length = std::max(length, song.orderLists[k].steps.size());
  const uint32_t stepTicks = song.ticksPerStep ? song.ticksPerStep : 1;
  const uint32_t ticks = uint32_t(length) * stepTicks;

  SongPlayer player;
  player.song = &song;
  TrackWriter writer(song, ticksPerTick);
  for (uint32_t tick = 0; tick < ticks; ++tick) {
    writer.setTick(tick);
    player.tick(writer);
  }
  writer.setTick(ticks);
  writer.endNotes();

  MidiFile midi;
  midi.format = 1;
  midi.division = uint16_t(grid.ticksPerQuarter * ticksPerTick);
  const uint32_t end = ticks * ticksPerTick;
  MidiTrack conductor;
  conductor.endTick = end;
  conductor.events.push_back(meta(0, midiMeta::kTrackName, title));
  conductor.events.push_back(
      meta(0, midiMeta::kTempo, {char(tempo >> 16), char(tempo >> 8 & 0xFF), char(tempo & 0xFF)}));
  conductor.events.push_back(meta(0, midiMeta::kTimeSignature, {4, 2, 24, 8}));
  for (uint32_t step = 0; step < length; ++step)
    conductor.events.push_back(
        meta(step * stepTicks * ticksPerTick, midiMeta::kMarker, "step " + std::to_string(step)));
  midi.tracks.push_back(std::move(conductor));
  for (int channel = 0; channel < Song::kMaxChannels; ++channel) {
    std::vector<MidiEvent>& events = writer.track(channel);
    if (events.empty()) continue;
    MidiTrack track;
    track.endTick = end;
    track.events.push_back(meta(0, midiMeta::kTrackName, "channel " + std::to_string(channel)));
    track.events.insert(track.events.end(), events.begin(), events.end());
    midi.tracks.push_back(std::move(track));
  }
  return midi;
}
