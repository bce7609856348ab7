// The MIDI mapping both ways: everything the show's sequencer sends for
// brumtakt survives encoding and decoding unchanged, and a table of the
// messages hosts and keyboards send besides.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "music/SongPlayer.h"
#include "plugin/MidiMapping.h"
#include "plugin/SongMidi.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"
#include "synth/SynthModule.h"

namespace {

struct Event {
  int channel, kind;
  uint32_t value;
  bool operator==(const Event& o) const {
    return channel == o.channel && kind == o.kind && value == o.value;
  }
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
  return out << "{ch " << e.channel << " kind " << e.kind << " number " << (e.value & 0xFFFF)
             << " value " << (e.value >> 16) << "}";
}

// Takes events as the plugin's queue does: a completing event replaces the
// one it completes.
struct Recorder : midimap::EventSink {
  std::vector<Event> events;
  void event(int channel, int kind, uint32_t value, bool completes) override {
    if (completes && !events.empty() && events.back().channel == channel &&
        events.back().kind == kind && (events.back().value & 0xFFFF) == (value & 0xFFFF)) {
      events.back().value = value;
      return;
    }
    events.push_back({channel, kind, value});
  }
};

uint32_t note(int n, int velocity) { return uint32_t(n) | uint32_t(velocity) << 16; }

TEST(MidiMapping, TheShowSongsEventsSurviveTheRoundTrip) {
  const SongMidi midi = songAsMidi(builtSongFile(), 23 * 256);
  EXPECT_EQ(midi.unencoded, 0u);

  // The sequencer's own events again, to compare with.
  struct Sent : SongPlayer::EventTarget {
    std::vector<Event> events;
    void event(int channel, int kind, uint32_t value) override {
      events.push_back({channel, kind, value});
    }
  } sent;
  std::vector<uint8_t> image;
  {
    FILE* f = fopen(builtSongFile().c_str(), "rb");
    ASSERT_NE(f, nullptr);
    int c;
    while ((c = fgetc(f)) != EOF) image.push_back(uint8_t(c));
    fclose(f);
  }
  Synth synth;
  const SongLoadResult loaded = loadSong(synth, image.data(), image.size());
  SongPlayer player;
  player.song = loaded.song.get();
  for (int t = 0; t < 23 * 256; ++t) player.tick(sent);

  midimap::Decoder decoder;
  Recorder got;
  for (const TimedMidi& m : midi.events) decoder.decode(m.bytes, 3, got);
  ASSERT_EQ(got.events.size(), sent.events.size());
  for (size_t i = 0; i < sent.events.size(); ++i)
    ASSERT_EQ(got.events[i], sent.events[i]) << "event " << i;
}

TEST(MidiMapping, DecodesWhatHostsAndKeyboardsSend) {
  using namespace eventKind;
  struct Case {
    const char* what;
    std::vector<std::vector<uint8_t>> messages;
    std::vector<Event> events;
  };
  const Case cases[] = {
      {"a key is a note 23 below", {{0x90, 69, 100}}, {{0, kNoteOn, note(46, 200)}}},
      {"the velocity prefix gives the odd half", {{0xB0, 88, 64}, {0x90, 69, 100}},
       {{0, kNoteOn, note(46, 201)}}},
      {"the prefix serves one note", {{0xB0, 88, 64}, {0x90, 69, 100}, {0x90, 70, 100}},
       {{0, kNoteOn, note(46, 201)}, {0, kNoteOn, note(47, 200)}}},
      {"velocity 0 is a note off", {{0x95, 69, 0}}, {{5, kNoteOff, note(46, 0)}}},
      {"a note off keeps its velocity", {{0x8F, 69, 64}}, {{15, kNoteOff, note(46, 128)}}},
      {"keys below 24 have no note", {{0x90, 23, 100}, {0x80, 23, 0}}, {}},
      {"a coarse controller", {{0xB3, 16, 64}}, {{3, kController, note(16, 128)}}},
      {"its fine half completes it", {{0xB3, 16, 64}, {0xB3, 48, 64}},
       {{3, kController, note(16, 129)}}},
      {"a fine half alone is nothing", {{0xB3, 48, 64}}, {}},
      {"a knob above 63", {{0xB0, 70, 127}}, {{0, kController, note(70, 254)}}},
      {"reserved controllers", {{0xB0, 96, 1}, {0xB0, 97, 1}, {0xB0, 121, 0}}, {}},
      {"an NRPN reaches any controller",
       {{0xB0, 99, 1}, {0xB0, 98, 0}, {0xB0, 6, 16}, {0xB0, 38, 64}},
       {{0, kController, note(128, 33)}}},
      {"an NRPN beyond 255 is nothing", {{0xB0, 99, 2}, {0xB0, 98, 0}, {0xB0, 6, 16}}, {}},
      {"an RPN takes data entry away", {{0xB0, 99, 0}, {0xB0, 98, 40}, {0xB0, 101, 0}, {0xB0, 6, 1}},
       {}},
      {"all notes off releases what is held",
       {{0x92, 60, 90}, {0x92, 62, 90}, {0x82, 60, 0}, {0x92, 64, 90}, {0xB2, 123, 0}},
       {{2, kNoteOn, note(37, 180)},
        {2, kNoteOn, note(39, 180)},
        {2, kNoteOff, note(37, 0)},
        {2, kNoteOn, note(41, 180)},
        {2, kNoteOff, note(39, 0)},
        {2, kNoteOff, note(41, 0)}}},
      {"pitch bend, pressure and short messages are ignored",
       {{0xE0, 0, 64}, {0xD0, 40, 0}, {0x90, 69}}, {}},
  };
  for (const Case& c : cases) {
    midimap::Decoder decoder;
    Recorder got;
    for (const auto& m : c.messages) decoder.decode(m.data(), uint32_t(m.size()), got);
    EXPECT_EQ(got.events, c.events) << c.what;
  }
}

TEST(MidiMapping, EncodesOnlyWhatMidiCanCarry) {
  using namespace eventKind;
  struct Case {
    int channel, kind;
    uint32_t value;
    std::vector<std::vector<uint8_t>> messages;
  };
  const Case cases[] = {
      {0, kNoteOn, note(46, 200), {{0x90, 69, 100}}},
      {1, kNoteOff, note(46, 255), {{0xB1, 88, 64}, {0x81, 69, 127}}},
      {0, kNoteOn, note(104, 2), {{0x90, 127, 1}}},
      {0, kNoteOn, note(105, 100), {}},
      {0, kNoteOn, note(0, 100), {}},
      {0, kNoteOn, note(46, 1), {}},
      {0, kNoteOff, note(46, 1), {{0xB0, 88, 64}, {0x80, 69, 0}}},
      {7, kController, note(20, 255), {{0xB7, 20, 127}, {0xB7, 52, 64}}},
      {7, kController, note(6, 10), {{0xB7, 99, 0}, {0xB7, 98, 6}, {0xB7, 6, 5}}},
      {7, kController, note(200, 11), {{0xB7, 99, 1}, {0xB7, 98, 72}, {0xB7, 6, 5}, {0xB7, 38, 64}}},
      {0, kController, note(0, 1), {}},
      {0, kController, note(256, 1), {}},
      {16, kNoteOn, note(46, 100), {}},
      {0, 3, 0, {}},
  };
  for (const Case& c : cases) {
    uint8_t messages[midimap::kMaxMessages][3];
    const int count = midimap::encode(c.channel, c.kind, c.value, messages);
    std::vector<std::vector<uint8_t>> got;
    for (int i = 0; i < count; ++i) got.push_back({messages[i][0], messages[i][1], messages[i][2]});
    EXPECT_EQ(got, c.messages) << Event{c.channel, c.kind, c.value};
  }
}

}  // namespace
