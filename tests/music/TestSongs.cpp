#include "TestSongs.h"

#include "synth/SongWriter.h"
#include "synth/Synth.h"

std::unique_ptr<Song> makeTestSong(uint8_t tempo, uint8_t stepLength) {
  auto song = std::make_unique<Song>();
  song->channelCount = 1;
  song->tempo = tempo;
  song->speed = 1;
  song->stepLength = stepLength;
  song->ticksPerStep = uint16_t(16 * stepLength);
  OrderList& order = song->orderLists[0];
  for (uint16_t step = 0; step < order.length; ++step) order.steps[step].pattern = 1;
  Pattern& pattern = song->patterns[1];
  pattern.resize(16);
  for (int row = 0; row < 16; ++row) {
    PatternCell& cell = pattern.rows[row].cells[0];
    if (row % 4 == 0) {
      cell.note = uint8_t(48 + row);
      cell.velocity = 100;
    } else if (row % 4 == 2) {
      cell.note = 255;
      cell.velocity = 100;
    }
  }
  return song;
}

std::vector<uint8_t> makeTestSongImage(uint8_t tempo, uint8_t stepLength) {
  Synth synth;
  return writeSongFile(synth, *makeTestSong(tempo, stepLength));
}
