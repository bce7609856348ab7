// The MIDI mapping that the plugin and the song compiler share: every
// synthesizer event MIDI can carry comes back from its messages unchanged,
// and plain MIDI (a keyboard, a music program's controller lanes) lands
// where a musician expects it.
#include <gtest/gtest.h>

#include "midi/MidiMapping.h"
#include "midi/MidiToSynth.h"
#include "midi/SynthToMidi.h"
#include "synth/SynthModule.h"

namespace {

using Event = MidiToSynth::Event;

// The events a list of messages gives, in order.
std::vector<Event> decodeAll(MidiToSynth& decoder, const std::vector<MidiMessage>& messages) {
  std::vector<Event> events;
  for (const MidiMessage& m : messages) {
    Event e{};
    if (decoder.decode(m.status, m.data1, m.data2, &e)) events.push_back(e);
  }
  return events;
}

TEST(MidiMapping, EveryEventMidiCarriesComesBackUnchanged) {
  MidiToSynth decoder;
  int carried = 0;
  for (int channel : {0, 9, 15})
    for (int kind : {eventKind::kNoteOn, eventKind::kNoteOff, eventKind::kController})
      for (uint32_t number = 0; number < 256; ++number)
        for (uint32_t level = 0; level < 256; ++level) {
          const uint32_t value = number | level << 16;
          MidiMessage messages[midimap::kMaxMessages];
          std::string problem;
          const int count = encodeSynthEvent(channel, kind, value, messages, &problem);
          if (count == 0) {
            EXPECT_FALSE(problem.empty());
            continue;
          }
          ++carried;
          // A controller's coarse part gives an event of its own before
          // the fine part corrects it, at the same moment.
          const auto events = decodeAll(decoder, {messages, messages + count});
          ASSERT_FALSE(events.empty());
          if (kind != eventKind::kController) {
            ASSERT_EQ(events.size(), 1u);
          }
          for (const Event& e : events) {
            EXPECT_EQ(e.channel, channel);
            EXPECT_EQ(e.kind, kind);
            ASSERT_EQ(e.value & 0xFFFF, number);
          }
          ASSERT_EQ(events.back().value, value) << kind << " " << number << " " << level;
        }
  // Notes 1 to 104 at every velocity (note-ons from 2); controllers 1 to
  // 255 at every value, those without a message of their own as NRPNs.
  EXPECT_EQ(carried, 3 * (104 * 254 + 104 * 256 + 255 * 256));
}

TEST(MidiMapping, EventsMidiHasNoPlaceForAreRefusedWithTheReason) {
  const struct {
    int channel, kind;
    uint32_t value;
    const char* problem;
  } cases[] = {
      {16, eventKind::kNoteOn, 46 | 100u << 16, "channel 16 has no MIDI channel"},
      {-1, eventKind::kController, 1 | 2u << 16, "channel -1 has no MIDI channel"},
      {0, eventKind::kController, 256 | 2u << 16, "controller 256 has no MIDI form"},
      {0, eventKind::kController, 0 | 2u << 16, "controller 0 has no MIDI form"},
      {0, 3, 0, "event kind 3 has no MIDI message"},
  };
  for (const auto& c : cases) {
    MidiMessage messages[midimap::kMaxMessages];
    std::string problem;
    EXPECT_EQ(encodeSynthEvent(c.channel, c.kind, c.value, messages, &problem), 0) << c.problem;
    EXPECT_EQ(problem.find(c.problem), 0u) << problem;
  }
}

TEST(MidiMapping, PlainMidiLandsWhereAMusicianExpectsIt) {
  struct Case {
    const char* what;
    std::vector<MidiMessage> messages;
    std::vector<Event> expected;
  };
  const Case cases[] = {
      {"A4 at full velocity: note 46 at 255",
       {{0x90, 69, 127}},
       {{0, eventKind::kNoteOn, 46 | 255u << 16}}},
      {"a soft C1 on channel 3", {{0x93, 24, 1}}, {{3, eventKind::kNoteOn, 1 | 2u << 16}}},
      {"a note-on of velocity 0 ends the note", {{0x90, 60, 0}}, {{0, eventKind::kNoteOff, 37}}},
      {"a note-off keeps its velocity",
       {{0x80, 60, 64}},
       {{0, eventKind::kNoteOff, 37 | 129u << 16}}},
      {"the velocity prefix sets the low bit of the next note only",
       {{0xB0, 88, 0}, {0x90, 60, 100}, {0x90, 62, 100}},
       {{0, eventKind::kNoteOn, 37 | 200u << 16}, {0, eventKind::kNoteOn, 39 | 201u << 16}}},
      {"a prefix on another channel does not count",
       {{0xB1, 88, 0}, {0x90, 60, 100}},
       {{0, eventKind::kNoteOn, 37 | 201u << 16}}},
      {"notes below C1 give nothing", {{0x90, 23, 100}, {0x80, 0, 0}}, {}},
      {"controller 16 at 127 is 255, its fine part sets the low bit",
       {{0xB2, 16, 127}, {0xB2, 48, 0}},
       {{2, eventKind::kController, 16 | 255u << 16},
        {2, eventKind::kController, 16 | 254u << 16}}},
      {"a fine part alone changes the last coarse value",
       {{0xB0, 1, 10}, {0xB0, 33, 127}},
       {{0, eventKind::kController, 1 | 20u << 16}, {0, eventKind::kController, 1 | 21u << 16}}},
      {"controller 74 has 7 bits",
       {{0xB0, 74, 64}},
       {{0, eventKind::kController, 74 | 129u << 16}}},
      {"an NRPN reaches any controller, its data entry's fine part sets the low bit",
       {{0xB5, 99, 1}, {0xB5, 98, 72}, {0xB5, 6, 100}, {0xB5, 38, 0}},
       {{5, eventKind::kController, 200 | 201u << 16},
        {5, eventKind::kController, 200 | 200u << 16}}},
      {"the NRPN stays chosen, and is the channel's own",
       {{0xB0, 99, 0}, {0xB0, 98, 6}, {0xB1, 99, 0}, {0xB1, 98, 7}, {0xB0, 6, 5}, {0xB0, 6, 6}},
       {{0, eventKind::kController, 6 | 10u << 16}, {0, eventKind::kController, 6 | 12u << 16}}},
      {"data entry without an NRPN, after an RPN, or for an NRPN beyond 255 gives nothing",
       {{0xB0, 6, 10},
        {0xB0, 99, 0},
        {0xB0, 98, 16},
        {0xB0, 101, 0},
        {0xB0, 100, 0},
        {0xB0, 6, 2},
        {0xB0, 38, 0},
        {0xB0, 99, 2},
        {0xB0, 98, 0},
        {0xB0, 6, 16}},
       {}},
      {"bank select, data increment, programs, pitch bend, pressure and channel modes give "
       "nothing",
       {{0xB0, 0, 1},
        {0xB0, 32, 1},
        {0xB0, 96, 1},
        {0xB0, 97, 1},
        {0xB0, 121, 0},
        {0xC0, 5, 0},
        {0xE0, 0, 64},
        {0xD0, 9, 0},
        {0xA0, 60, 9},
        {0xB0, 123, 0}},
       {}},
  };
  for (const Case& c : cases) {
    MidiToSynth decoder;
    const auto events = decodeAll(decoder, c.messages);
    ASSERT_EQ(events.size(), c.expected.size()) << c.what;
    for (size_t i = 0; i < events.size(); ++i) {
      EXPECT_EQ(events[i].channel, c.expected[i].channel) << c.what;
      EXPECT_EQ(events[i].kind, c.expected[i].kind) << c.what;
      EXPECT_EQ(events[i].value, c.expected[i].value) << c.what;
    }
  }
}

}  // namespace
