// What does not fit: MIDI files that are damaged, or whose music no song can
// hold, and songs that MIDI cannot carry. Each is refused with a message
// that names the file and the place (byte and track, or track, bar, beat and
// order step) and what is wrong; nothing else escapes, whatever the bytes.
#include <gtest/gtest.h>

#include <functional>

#include "MidiScore.h"
#include "songc/MidiExport.h"
#include "songc/MidiImport.h"
#include "songc/SongCompiler.h"

namespace {

constexpr const char* kSetup = "song tempo=68 speed=4 stepLength=4\n";

// Reads and imports the bytes; the error's message, or "" when it fits.
std::string importMessage(const std::vector<uint8_t>& bytes, double tolerance = 0.25) {
  CompiledSong compiled = compileSong(SourceText::fromString("setup.song", kSetup));
  try {
    importMidi(readMidiFile(bytes.data(), bytes.size(), "in.mid"), "in.mid", *compiled.song,
               MidiImportOptions{tolerance});
  } catch (const MidiError& error) {
    return error.what();
  }
  return "";
}

std::vector<uint8_t> oneNote() { return MidiScore().note(1, 0, 24, 0, 69, 127).bytes(); }

// A file whose second track holds exactly these bytes.
std::vector<uint8_t> withTrackBytes(std::vector<uint8_t> track) {
  std::vector<uint8_t> out = {'M', 'T', 'h', 'd', 0,   0,   0,   6, 0, 1, 0,
                              1,   0,   96,  'M', 'T', 'r', 'k', 0, 0, 0, uint8_t(track.size())};
  for (uint8_t b : track) out.push_back(b);
  return out;
}

TEST(MidiErrors, DamagedFilesAndUnfitMusicNameTheirPlace) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    std::vector<const char*> message;  // parts, in order
  };
  auto edited = [](std::function<void(std::vector<uint8_t>&)> edit) {
    std::vector<uint8_t> bytes = oneNote();
    edit(bytes);
    return bytes;
  };
  MidiScore chord;
  for (int k = 0; k < 17; ++k) chord.note(1, 0, 24, 0, 40 + k, 127);
  MidiScore knobs;
  for (int k = 11; k <= 27; ++k) knobs.controller(1, 96, 4, k, 9);
  MidiScore variety;  // 255 steps, each with a pattern of its own
  for (int s = 0; s < 255; ++s)
    variety.note(1, uint32_t(s) * 384 + uint32_t(s / 127) * 24, 12, 0, 69, s % 127 + 1);
  const Case cases[] = {
      {"another kind of file",
       {'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 1, 0, 1, 0, 96},
       {"in.mid: not a MIDI file"}},
      {"an empty file", {}, {"in.mid: not a MIDI file"}},
      {"a header cut short", edited([](auto& b) { b.resize(12); }), {"in.mid: not a MIDI file"}},
      {"a track cut short",
       edited([](auto& b) { b.resize(b.size() - 5); }),
       {"in.mid: track 2 is cut short: it claims 12 bytes, the file holds 7 more"}},
      {"tracks missing",
       edited([](auto& b) { b[11] = 5; }),
       {"in.mid: the header announces 5 tracks, the file holds 2"}},
      {"a delta time of five bytes",
       withTrackBytes({0x81, 0x81, 0x81, 0x81, 0x00, 0x90, 60, 100}),
       {"in.mid: track 1, byte 22: a delta time runs over four bytes"}},
      {"a data byte without a status",
       withTrackBytes({0x00, 0x40, 0x40}),
       {"track 1, byte 23: data byte 0x40 comes without a status byte"}},
      {"a system message",
       withTrackBytes({0x00, 0xF2, 0, 0}),
       {"track 1, byte 23: status 0xF2 does not belong"}},
      {"a meta event longer than its track",
       withTrackBytes({0x00, 0xFF, 0x01, 100, 'a'}),
       {"track 1, byte 26: a meta event of 100 bytes runs past the track's end"}},
      {"a channel message cut short",
       withTrackBytes({0x00, 0x90, 60}),
       {"track 1, byte 25: the track ends inside a channel message"}},
      {"a data byte above 0x7F",
       withTrackBytes({0x00, 0x90, 60, 0x90}),
       {"holds a data byte above 0x7F"}},
      {"format 2", edited([](auto& b) { b[9] = 2; }), {"in.mid: a MIDI file of format 2"}},
      {"time code",
       edited([](auto& b) { b[12] = 0xE7, b[13] = 0x28; }),
       {"in.mid: the file counts time in time code"}},
      {"a change of tempo",
       MidiScore()
           .note(1, 0, 24, 0, 69, 127)
           .meta(0, 384, midiMeta::kTempo, {0x07, char(0xA1), 0x20})
           .bytes(),
       {"in.mid: track 1, bar 2 beat 1 +0/96 (order step 1): the tempo changes to 120.00 beats a "
        "minute (from 136.11)"}},
      {"another tempo",
       MidiScore(96, 500000).note(1, 0, 24, 0, 69, 127).bytes(),
       {"in.mid: track 1, bar 1 beat 1 +0/96 (order step 0): the file plays at 120.00 beats a "
        "minute, the song's "
        "tempo=68 at speed=4 plays 136.11; set the music program to 136.11, or the song to "
        "tempo=60 (120.01)"}},
      {"no tempo",
       MidiScore(96, -1).note(1, 0, 24, 0, 69, 127).bytes(),
       {"in.mid: the file gives no tempo"}},
      {"a note between ticks",
       MidiScore().note(1, 98, 24, 0, 69, 127).bytes(),
       {"in.mid: track 2, bar 1 beat 2 +2/96 (order step 0): note A-4 starts 0.33 ticks off the "
        "song's tick grid "
        "(the tolerance is 0.25"}},
      {"a controller between ticks, in 6/8",
       MidiScore()
           .meta(0, 0, midiMeta::kTimeSignature, {6, 3, 24, 8})
           .controller(1, 400, 3, 7, 1)
           .bytes(),
       {"in.mid: track 2, bar 2 beat 3 +16/48 (order step 1): controller 7 changes 0.33 ticks "
        "off"}},
      {"a note below C1",
       MidiScore().note(1, 0, 24, 0, 23, 127).bytes(),
       {"MIDI note 23 lies below C1"}},
      {"seventeen notes at once",
       chord.bytes(),
       {"in.mid: track 2, bar 1 beat 1 +0/96 (order step 0): note G#3 would be the 17th note "
        "sounding at once on "
        "channel 0; a pattern row has 16 note columns"}},
      {"seventeen controllers at once",
       knobs.bytes(),
       {"more than 16 controllers change at once on channel 4"}},
      {"a 255th pattern",
       variety.bytes(),
       {"(order step 254): channel 0 would start a 255th different pattern; a song holds 254"}},
      {"beyond the last order step",
       MidiScore().note(1, 65535u * 384, 24, 0, 69, 127).bytes(),
       {"(order step 65535): this lies beyond order step 65534"}},
      {"nothing to play",
       MidiScore().controller(1, 0, 0, 0, 1).bytes(),
       {"in.mid: the file plays no note"}},
  };
  for (const Case& c : cases) {
    const std::string message = importMessage(c.bytes);
    size_t at = 0;
    for (const char* part : c.message) {
      at = message.find(part, at);
      EXPECT_NE(at, std::string::npos) << c.what << ": " << message;
    }
  }
}

TEST(MidiErrors, TheToleranceDecidesWhatMovesOntoATick) {
  const auto bytes = MidiScore().note(1, 98, 24, 0, 69, 127).bytes();  // 1/3 tick off
  EXPECT_NE(importMessage(bytes, 0.3), "");
  EXPECT_EQ(importMessage(bytes, 0.34), "");
  EXPECT_EQ(importMessage(MidiScore().note(1, 99, 21, 0, 69, 127).bytes(), 0.5),
            "");  // half a tick off
  EXPECT_NE(importMessage(MidiScore().note(1, 97, 23, 0, 69, 127).bytes(), 0.0), "");
}

TEST(MidiErrors, SongsMidiCannotCarryAreRefusedAtTheirPlace) {
  const std::string song = "song speed=4 stepLength=4\n";
  const std::string order = "order 2\n  1 p\nend\n";
  const std::pair<std::string, const char*> cases[] = {
      {"pattern p\n  C-4\n  ...\n  n110\nend\n",
       "order step 1, channel 2, tick 8 of the step: note 110 is outside MIDI's notes"},
      {"pattern p\n  C-4 01\nend\n", "a note-on of velocity 1 has no MIDI note-on"},
  };
  for (const auto& [pattern, expected] : cases) {
    CompiledSong compiled = compileSong(SourceText::fromString("s.song", song + pattern + order));
    try {
      exportMidi(*compiled.song, "s");
      ADD_FAILURE() << pattern << " was exported";
    } catch (const MidiError& error) {
      EXPECT_NE(std::string(error.what()).find(expected), std::string::npos) << error.what();
    }
  }
}

// Every cut and many changed bytes of a real file: refused with a MidiError
// or read, never anything else.
TEST(MidiErrors, CutAndChangedFilesAreReadOrRefusedCleanly) {
  CompiledSong song = compileSong(SourceText::fromFile(KYL_SOURCE_DIR "/data/song/brumtakt.song"));
  const std::vector<uint8_t> whole = writeMidiFile(exportMidi(*song.song, "brumtakt"));
  auto tryImport = [&](const std::vector<uint8_t>& bytes) {
    try {
      importMidi(readMidiFile(bytes.data(), bytes.size(), "x.mid"), "x.mid", *song.song,
                 MidiImportOptions{});
    } catch (const MidiError&) {
    }
  };
  for (size_t cut = 0; cut < whole.size(); cut += 1 + cut / 8) {
    SCOPED_TRACE(cut);
    tryImport(std::vector<uint8_t>(whole.begin(), whole.begin() + long(cut)));
  }
  for (size_t at = 0; at < whole.size(); at += 997) {
    SCOPED_TRACE(at);
    for (uint8_t value : {0x00, 0x7F, 0x80, 0xFF}) {
      std::vector<uint8_t> bytes = whole;
      bytes[at] = value;
      tryImport(bytes);
    }
  }
}

}  // namespace
