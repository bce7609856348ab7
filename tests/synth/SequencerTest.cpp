// The sequencer's event stream, recorded tick by tick.
#include <gtest/gtest.h>

#include "music/SongPlayer.h"
#include "synth/Song.h"

namespace {

struct Event {
  int tick, channel, kind;
  uint32_t value;
  bool operator==(const Event& o) const {
    return tick == o.tick && channel == o.channel && kind == o.kind && value == o.value;
  }
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
  return out << "{tick " << e.tick << " ch " << e.channel << " kind " << e.kind << " value 0x"
             << std::hex << e.value << std::dec << "}";
}

class Recorder : public SongPlayer::EventTarget {
 public:
  void event(int channel, int kind, uint32_t value) override {
    events.push_back({tick, channel, kind, value});
  }
  int tick = 0;
  std::vector<Event> events;
};

uint32_t noteValue(uint32_t note, uint32_t velocity) { return note | velocity << 16; }

// Runs ticks [0, count) and returns the events.
std::vector<Event> run(const Song& song, int count) {
  auto player = std::make_unique<SongPlayer>();
  player->song = &song;
  Recorder recorder;
  for (recorder.tick = 0; recorder.tick < count; ++recorder.tick) player->tick(recorder);
  return recorder.events;
}

Song oneChannelSong() {
  Song song;
  song.stepLength = 1;
  song.ticksPerStep = 16;
  song.orderLists[0].steps[0].pattern = 1;
  song.patterns[1].resize(4);
  return song;
}

PatternCell& cell(Song& song, int pattern, int row, int column) {
  return song.patterns[pattern].rows[row].cells[column];
}

}  // namespace

TEST(Sequencer, RowsFollowSpeedAndStepsFollowTicksPerStep) {
  Song song = oneChannelSong();
  for (int r = 0; r < 4; ++r) cell(song, 1, r, 0) = {uint8_t(40 + r), 100, 0, 0};
  song.orderLists[0].steps[1].pattern = 1;  // restarts the pattern at tick 16
  song.orderLists[0].steps[1].transpose = -2;
  auto events = run(song, 20);
  std::vector<int> noteOnTicks;
  for (auto& e : events)
    if (e.kind == 0) noteOnTicks.push_back(e.tick);
  EXPECT_EQ(noteOnTicks, (std::vector<int>{0, 6, 12, 16}));
  EXPECT_EQ(events.back(), (Event{16, 0, 0, noteValue(38, 100)}));
}

TEST(Sequencer, NoteOffComesFirstAndReleasesOnlySoundingColumns) {
  Song song = oneChannelSong();
  song.speed = 1;
  cell(song, 1, 0, 0) = {50, 90, 0, 0};
  cell(song, 1, 0, 1) = {255, 10, 0, 0};  // silent column: nothing
  cell(song, 1, 1, 0) = {52, 70, 0, 0};   // off 50 then on 52, velocity 70
  cell(song, 1, 2, 0) = {255, 33, 0, 0};  // off 52 with 33
  cell(song, 1, 3, 0) = {255, 44, 0, 0};  // already released: nothing
  auto events = run(song, 4);
  std::vector<Event> expected = {{0, 0, 0, noteValue(50, 90)},
                                 {1, 0, 1, noteValue(50, 70)},
                                 {1, 0, 0, noteValue(52, 70)},
                                 {2, 0, 1, noteValue(52, 33)}};
  EXPECT_EQ(events, expected);
}

TEST(Sequencer, TransposedNoteZeroIsSentButNotRemembered) {
  Song song = oneChannelSong();
  song.speed = 1;
  song.orderLists[0].steps[0].transpose = -5;
  cell(song, 1, 0, 0) = {5, 1, 0, 0};
  cell(song, 1, 1, 0) = {255, 1, 0, 0};
  auto events = run(song, 2);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0], (Event{0, 0, 0, noteValue(0, 1)}));
}

TEST(Sequencer, SpeedZeroStopsTheRowsUntilTheNextPattern) {
  Song song = oneChannelSong();
  cell(song, 1, 0, 0) = {50, 1, 255, 0};
  cell(song, 1, 1, 0) = {51, 1, 0, 0};
  song.orderLists[0].steps[2].pattern = 1;
  auto events = run(song, 40);
  std::vector<int> ticks;
  for (auto& e : events)
    if (e.kind == 0) ticks.push_back(e.tick);
  EXPECT_EQ(ticks, (std::vector<int>{0, 32}));
}

TEST(Sequencer, SlidesRunAcrossRowsAndEqualSlidesAreSentOnce) {
  Song song = oneChannelSong();
  song.patterns[1].resize(4);
  song.orderLists[0].steps[0].slideA = {9, 0, 200};
  song.orderLists[0].steps[0].slideB = {10, 77, 77};
  auto events = run(song, 24);
  std::vector<Event> nine, ten;
  for (auto& e : events) {
    ASSERT_EQ(e.kind, 2);
    ((e.value & 0xFFFF) == 9 ? nine : ten).push_back(e);
  }
  ASSERT_EQ(ten.size(), 1u);
  EXPECT_EQ(ten[0], (Event{0, 0, 2, 10 | 77u << 16}));
  // Rows at ticks 0, 6, 12, 18: factor row / 4 after each; re-sent every
  // tick while start differs from end.
  ASSERT_EQ(nine.size(), 24u);
  EXPECT_EQ(nine[0].value >> 16, 50u);
  EXPECT_EQ(nine[5].value >> 16, 50u);
  EXPECT_EQ(nine[6].value >> 16, 100u);
  EXPECT_EQ(nine[18].value >> 16, 200u);
  EXPECT_EQ(nine[23].value >> 16, 200u);
}

TEST(Sequencer, CommandsSetOffsetsAndSlidesWithoutPatternFollowTheOldOne) {
  Song song = oneChannelSong();
  song.speed = 1;
  cell(song, 1, 0, 0) = {0, 0, 20, 250};  // controller 20 offset 250
  song.orderLists[0].steps[1].slideA = {20, 0, 100};  // pattern finished: factor 1
  auto events = run(song, 18);
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[0], (Event{0, 0, 2, 20 | 250u << 16}));
  EXPECT_EQ(events[1], (Event{16, 0, 2, 20 | 255u << 16})) << "100 + 250 held at 255";
}

TEST(Sequencer, OddPatternsAreSafe) {
  Song song = oneChannelSong();
  song.patterns[1].resize(0);
  song.orderLists[0].steps[0].slideA = {3, 10, 20};
  song.orderLists[1].steps[0].pattern = 255;  // no such slot: starts nothing
  song.orderLists[1].steps[0].slideA = {4, 5, 5};
  auto events = run(song, 2);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0], (Event{0, 0, 2, 3 | 20u << 16})) << "no rows: factor 1";
  EXPECT_EQ(events[1], (Event{1, 0, 2, 3 | 20u << 16}));
}
