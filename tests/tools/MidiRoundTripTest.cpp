// brumtakt to MIDI and back: the MIDI file the compiler exports, compiled
// back with brumtakt's own set-up, plays the same events on every tick and
// renders the same bytes as the shipped song.
#include <gtest/gtest.h>

#include "MidiScore.h"
#include "music/SongRenderer.h"
#include "platform/Random.h"
#include "songc/MidiExport.h"
#include "songc/MidiImport.h"
#include "songc/SongCompiler.h"
#include "synth/SongLoader.h"
#include "synth/SongWriter.h"

namespace {

const char kSource[] = KYL_SOURCE_DIR "/data/song/brumtakt.song";

// The whole song as `kylvander --render-audio --end-position 24` renders it.
std::vector<int16_t> render(const std::vector<uint8_t>& image) {
  Synth synth;
  SongLoadResult loaded = loadSong(synth, image.data(), image.size());
  EXPECT_NE(loaded.song, nullptr);
  if (!loaded.song) return {};
  platform::srand(1);
  RenderedSong rendered = renderSong(synth, *loaded.song, 0, 24, UINT32_MAX, nullptr);
  std::vector<int16_t> samples;
  for (const int16_t* block : rendered.blocks)
    samples.insert(samples.end(), block, block + 2 * rendered.framesPerBlock);
  return samples;
}

TEST(MidiRoundTrip, BrumtaktExportedAndCompiledBackRendersTheSameBytes) {
  const CompiledSong shipped = compileSong(SourceText::fromFile(kSource));
  const std::vector<uint8_t> midiBytes = writeMidiFile(exportMidi(*shipped.song, "brumtakt"));

  // The file as a music program sees it: the song's tempo, 960 MIDI ticks a
  // quarter note (60 a sequencer tick), a marker at each of the 23 steps,
  // and the eight channels that play.
  const MidiFile midi = readMidiFile(midiBytes.data(), midiBytes.size(), "brumtakt.mid");
  EXPECT_EQ(midi.division, 960);
  ASSERT_EQ(midi.tracks.size(), 9u);
  int markers = 0;
  for (const MidiEvent& e : midi.tracks[0].events) {
    markers += e.isMeta(midiMeta::kMarker);
    if (e.isMeta(midiMeta::kTempo)) {
      EXPECT_EQ(e.data, std::string("\x06\xB9\xF0", 3));  // 440816 microseconds
    }
  }
  EXPECT_EQ(markers, 23);
  for (const MidiTrack& track : midi.tracks) EXPECT_EQ(track.endTick, 23u * 256 * 60);

  CompiledSong back = compileSong(SourceText::fromFile(kSource));
  importMidi(midi, "brumtakt.mid", *back.song, MidiImportOptions{0.0});
  back.image = writeSongFile(*back.synth, *back.song);

  const uint32_t ticks = 23 * 256 + 1;
  EXPECT_EQ(playedEvents(*back.song, ticks), playedEvents(*shipped.song, ticks));
  const std::vector<int16_t> expected = render(shipped.image);
  ASSERT_GT(expected.size(), 44100u * 2 * 160);
  EXPECT_TRUE(render(back.image) == expected);
  // The file itself differs: the MIDI file keeps no phrases, slides or
  // transposes, so each channel's order step becomes a pattern of its own.
  RecordProperty("shipped_bytes", int(shipped.image.size()));
  RecordProperty("compiled_back_bytes", int(back.image.size()));
}

// Controllers without a message of their own (140, 6) or at a value their
// 7 bits cannot hold (70 at 130) travel as NRPNs, and come back; a plain
// controller after them stays plain (70 at 133).
TEST(MidiRoundTrip, ControllersBeyondPlainMidiComeBackThroughNrpns) {
  const std::string source =
      "song speed=4 stepLength=4\npattern p\n  ... .. 8C 10\n  ... .. 46 82\n  ... .. 06 11\n"
      "  ... .. 46 85\nend\norder 2\n  1 p\nend\n";
  const CompiledSong shipped = compileSong(SourceText::fromString("s.song", source));
  const std::vector<uint8_t> bytes = writeMidiFile(exportMidi(*shipped.song, "s"));
  const MidiFile midi = readMidiFile(bytes.data(), bytes.size(), "s.mid");
  CompiledSong back = compileSong(SourceText::fromString("s.song", source));
  importMidi(midi, "s.mid", *back.song, MidiImportOptions{0.0});
  // Order step 1 (ticks 64 to 127) plays the pattern.
  const std::vector<SentEvent> played = playedEvents(*shipped.song, 128);
  EXPECT_EQ(played.size(), 4u);
  EXPECT_EQ(playedEvents(*back.song, 128), played);
}

}  // namespace
