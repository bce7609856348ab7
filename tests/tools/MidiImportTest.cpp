// MIDI files into songs: the song compiled from a MIDI file, read back by the
// real loader and played by the real sequencer, sends the synthesizer the
// events the file's messages stand for, each on its tick.
#include <gtest/gtest.h>

#include <functional>

#include "MidiScore.h"
#include "songc/MidiImport.h"
#include "songc/SongCompiler.h"
#include "synth/SongLoader.h"
#include "synth/SongWriter.h"

namespace {

// Four steps of one bar each: 64 ticks a step, 16 a quarter note; at 96
// MIDI ticks a quarter note, a tick is 6 of them.
constexpr const char* kSetup = "song tempo=68 speed=4 stepLength=4\n";
constexpr uint32_t kStep = 64;

// The song the compiler makes of the set-up and the score, as the show
// loads it.
std::unique_ptr<Song> importScore(const MidiScore& score, double tolerance = 0.25) {
  CompiledSong compiled = compileSong(SourceText::fromString("setup.song", kSetup));
  importMidi(score.file(), "score.mid", *compiled.song, MidiImportOptions{tolerance});
  const std::vector<uint8_t> image = writeSongFile(*compiled.synth, *compiled.song);
  Synth synth;
  SongLoadResult loaded = loadSong(synth, image.data(), image.size());
  EXPECT_EQ(loaded.error, SongLoadError::kNone);
  return std::move(loaded.song);
}

int columnsUsed(const Pattern& pattern) {
  int used = 0;
  for (int c = 0; c < 16; ++c)
    for (const PatternRow& row : pattern.rows)
      if (row.cells[c].note) {
        used = c + 1;
        break;
      }
  return used;
}

TEST(MidiImport, TheSongPlaysTheFilesEventsOnTheirTicks) {
  struct Case {
    const char* what;
    MidiScore score;
    std::vector<SentEvent> expected;
    std::function<void(const Song&)> check;
  };
  std::vector<Case> cases;
  cases.push_back({"notes on the rows keep their pitch and 8-bit velocity",
                   MidiScore().note(1, 0, 24, 0, 69, 127).note(1, 48, 24, 0, 72, 64, 64),
                   {noteOn(0, 0, 46, 255), noteOff(4, 0, 46, 0), noteOn(8, 0, 49, 129),
                    noteOff(12, 0, 49, 129)},
                   [](const Song& song) {
                     EXPECT_EQ(song.patterns[song.orderLists[0].steps[0].pattern].rowCount,
                               kStep / 4);
                   }});
  cases.push_back({"events between the rows bring the rows closer with a speed command",
                   MidiScore().note(1, 0, 18, 0, 69, 127),
                   {noteOn(0, 0, 46, 255), noteOff(3, 0, 46, 0)},
                   [](const Song& song) {
                     const Pattern& p = song.patterns[song.orderLists[0].steps[0].pattern];
                     EXPECT_EQ(p.rowCount, kStep);
                     EXPECT_EQ(p.rows[0].cells[0].command, 0xFF);
                     EXPECT_EQ(p.rows[0].cells[0].argument, 1);
                   }});
  cases.push_back({"within the tolerance, events move to the nearest tick",
                   MidiScore().note(1, 7, 17, 0, 69, 127),
                   {noteOn(1, 0, 46, 255), noteOff(4, 0, 46, 0)},
                   {}});
  cases.push_back({"a note starting as another ends, at its velocity, takes its column",
                   MidiScore().note(1, 0, 24, 0, 69, 100, 100).note(1, 24, 24, 0, 71, 100, 100),
                   {noteOn(0, 0, 46, 201), noteOff(4, 0, 46, 201), noteOn(4, 0, 48, 201),
                    noteOff(8, 0, 48, 201)},
                   [](const Song& song) { EXPECT_EQ(columnsUsed(song.patterns[1]), 1); }});
  cases.push_back(
      {"at another velocity it takes a column of its own, after the ending note's",
       MidiScore().note(1, 0, 24, 0, 69, 100).note(1, 24, 24, 0, 69, 50),
       {noteOn(0, 0, 46, 201), noteOff(4, 0, 46, 0), noteOn(4, 0, 46, 100), noteOff(8, 0, 46, 0)},
       [](const Song& song) { EXPECT_EQ(columnsUsed(song.patterns[1]), 2); }});
  {
    MidiScore chord;
    std::vector<SentEvent> expected;
    for (int k = 0; k < 16; ++k) chord.note(1, 0, 384 + 96, 0, 40 + k, 127);
    for (int k = 0; k < 16; ++k) expected.push_back(noteOn(0, 0, 17 + k, 255));
    for (int k = 0; k < 16; ++k) expected.push_back(noteOff(80, 0, 17 + k, 0));
    cases.push_back({"sixteen notes sound at once, and keep their columns into the next step",
                     chord,
                     expected,
                     {}});
  }
  cases.push_back({"controllers keep 8 bits; a fine part changes the value at its tick",
                   MidiScore()
                       .controller(1, 0, 0, 16, 100)
                       .controller(1, 48, 0, 16, 100)
                       .controller(1, 48, 0, 48, 0)
                       .controller(1, 96, 0, 74, 64),
                   {control(0, 0, 16, 201), control(8, 0, 16, 200), control(16, 0, 74, 129)},
                   {}});
  cases.push_back({"notes and controllers at one tick: the notes first",
                   MidiScore().controller(1, 0, 2, 20, 10).note(1, 0, 24, 2, 69, 127),
                   {noteOn(0, 2, 46, 255), control(0, 2, 20, 20), noteOff(4, 2, 46, 0)},
                   {}});
  cases.push_back({"a note shorter than a tick lasts one",
                   MidiScore().note(1, 0, 1, 0, 69, 127),
                   {noteOn(0, 0, 46, 255), noteOff(1, 0, 46, 0)},
                   {}});
  cases.push_back(
      {"one track of format 0 plays several channels, each on its own",
       MidiScore().format(0).note(0, 0, 24, 0, 69, 127).note(0, 0, 24, 5, 57, 127),
       {noteOn(0, 0, 46, 255), noteOn(0, 5, 34, 255), noteOff(4, 0, 46, 0), noteOff(4, 5, 34, 0)},
       {}});
  cases.push_back(
      {"tracks on one channel merge",
       MidiScore().note(1, 0, 24, 3, 69, 127).note(2, 0, 48, 3, 64, 127),
       {noteOn(0, 3, 46, 255), noteOn(0, 3, 41, 255), noteOff(4, 3, 46, 0), noteOff(8, 3, 41, 0)},
       {}});
  cases.push_back({"repeated steps share a pattern, transposed ones too; a silent step starts none",
                   MidiScore()
                       .note(1, 0, 24, 0, 69, 127)
                       .note(1, 384, 24, 0, 69, 127)
                       .note(1, 1152, 24, 0, 81, 127),
                   {noteOn(0, 0, 46, 255), noteOff(4, 0, 46, 0), noteOn(64, 0, 46, 255),
                    noteOff(68, 0, 46, 0), noteOn(192, 0, 58, 255), noteOff(196, 0, 58, 0)},
                   [](const Song& song) {
                     const auto& steps = song.orderLists[0].steps;
                     ASSERT_EQ(steps.size(), 4u);
                     EXPECT_EQ(steps[1].pattern, steps[0].pattern);
                     EXPECT_EQ(steps[2].pattern, 0);
                     EXPECT_EQ(steps[3].pattern, steps[0].pattern);
                     EXPECT_EQ(steps[3].transpose, 12);
                   }});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::unique_ptr<Song> song = importScore(c.score);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(playedEvents(*song, song->orderLists[0].length * kStep), c.expected);
    if (c.check) c.check(*song);
  }
}

}  // namespace
