// Our MIDI files against another reader and writer: libsmf reads the file
// the compiler exports event for event as we do, and a file libsmf writes
// compiles into a song that plays its notes.
#include <gtest/gtest.h>
#include <smf.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "MidiScore.h"
#include "songc/MidiExport.h"
#include "songc/MidiImport.h"
#include "songc/SongCompiler.h"

namespace {

// An event's bytes as libsmf keeps them: the channel message, or the meta
// event with its length.
std::vector<uint8_t> wireBytes(const MidiEvent& e) {
  if (e.isChannelMessage()) {
    const int type = e.status & 0xF0;
    if (type == 0xC0 || type == 0xD0) return {e.status, e.data1};
    return {e.status, e.data1, e.data2};
  }
  std::vector<uint8_t> out = {e.status, e.data1, uint8_t(e.data.size())};
  out.insert(out.end(), e.data.begin(), e.data.end());
  return out;
}

TEST(MidiLibsmf, ReadsTheExportedSongAsWeDo) {
  const CompiledSong song =
      compileSong(SourceText::fromFile(KYL_SOURCE_DIR "/data/song/brumtakt.song"));
  const MidiFile ours = exportMidi(*song.song, "brumtakt");
  const std::vector<uint8_t> bytes = writeMidiFile(ours);
  smf_t* smf = smf_load_from_memory(bytes.data(), int(bytes.size()));
  ASSERT_NE(smf, nullptr);
  EXPECT_EQ(smf->format, 1);
  EXPECT_EQ(smf->ppqn, 960);
  ASSERT_EQ(smf->number_of_tracks, int(ours.tracks.size()));
  for (int t = 0; t < smf->number_of_tracks; ++t) {
    SCOPED_TRACE(t);
    smf_track_t* track = smf_get_track_by_number(smf, t + 1);
    const auto& events = ours.tracks[size_t(t)].events;
    // libsmf keeps the end of the track as an event of its own.
    ASSERT_EQ(track->number_of_events, int(events.size()) + 1);
    for (size_t i = 0; i < events.size(); ++i) {
      smf_event_t* theirs = smf_track_get_event_by_number(track, int(i) + 1);
      ASSERT_EQ(uint32_t(theirs->time_pulses), events[i].tick) << i;
      const std::vector<uint8_t> wire = wireBytes(events[i]);
      ASSERT_EQ(std::vector<uint8_t>(theirs->midi_buffer,
                                     theirs->midi_buffer + theirs->midi_buffer_length),
                wire)
          << i;
    }
    smf_event_t* end = smf_track_get_event_by_number(track, track->number_of_events);
    EXPECT_TRUE(smf_event_is_eot(end));
    EXPECT_EQ(uint32_t(end->time_pulses), ours.tracks[size_t(t)].endTick);
  }
  smf_delete(smf);
}

TEST(MidiLibsmf, AFileLibsmfWritesCompilesIntoTheSong) {
  // Two tracks at 192 ticks a quarter note: tempo and 4/4, then channel 1
  // with a note ended by a note-on of velocity 0 (libsmf writes running
  // status) and a controller.
  smf_t* smf = smf_new();
  ASSERT_EQ(smf_set_ppqn(smf, 192), 0);
  smf_track_t* conductor = smf_track_new();
  smf_add_track(smf, conductor);
  const uint8_t tempo[] = {0xFF, 0x51, 0x03, 0x06, 0xB9, 0xF0};
  smf_track_add_event_pulses(conductor, smf_event_new_from_pointer((void*)tempo, sizeof tempo), 0);
  smf_track_t* notes = smf_track_new();
  smf_add_track(smf, notes);
  smf_track_add_event_pulses(notes, smf_event_new_from_bytes(0x91, 69, 100), 0);
  smf_track_add_event_pulses(notes, smf_event_new_from_bytes(0x91, 69, 0), 48);
  smf_track_add_event_pulses(notes, smf_event_new_from_bytes(0x91, 72, 127), 48);
  smf_track_add_event_pulses(notes, smf_event_new_from_bytes(0xB1, 16, 64), 96);
  smf_track_add_event_pulses(notes, smf_event_new_from_bytes(0x91, 72, 0), 192);
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("kyl-libsmf-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".mid");
  ASSERT_EQ(smf_save(smf, path.c_str()), 0);
  smf_delete(smf);

  CompiledSong compiled =
      compileSong(SourceText::fromString("s.song", "song tempo=68 speed=4 stepLength=4\n"));
  importMidi(readMidiFile(path.string()), "libsmf.mid", *compiled.song, MidiImportOptions{});
  std::filesystem::remove(path);
  // 12 MIDI ticks a sequencer tick.
  EXPECT_EQ(
      playedEvents(*compiled.song, 64),
      (std::vector<SentEvent>{noteOn(0, 1, 46, 201), noteOff(4, 1, 46, 0), noteOn(4, 1, 49, 255),
                              control(8, 1, 16, 129), noteOff(16, 1, 49, 0)}));
}

}  // namespace
