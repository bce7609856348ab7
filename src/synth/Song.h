// The song proper: order lists that say which pattern each channel plays at
// each order step, and the patterns of note cells. The sequencer (SongPlayer)
// walks it; loadSong fills it from the song file.
//
// Glossary: an order step lasts ticksPerStep ticks; a tick is one rendered
// block of samplesPerTickFor(song) frames; a pattern row lasts `speed` ticks.
#pragma once

#include <cstdint>
#include <vector>

// A controller slide started by an order step.
struct ControllerSlide {
  uint8_t controller;  // 0: none
  uint8_t from;
  uint8_t to;
};

// One channel's entry at one order step (9 bytes in this order in the file).
struct OrderStep {
  uint8_t pattern;  // 0: no change; else the pattern slot to start
  int8_t transpose;
  ControllerSlide slideA;
  ControllerSlide slideB;
  uint8_t spare;
};
static_assert(sizeof(OrderStep) == 9, "order steps are 9 bytes");

// One note column of a row.
struct PatternCell {
  uint8_t note;      // 0: nothing; 255: release; else the note to start
  uint8_t velocity;
  uint8_t command;   // 0: none; 255: set speed; else a controller offset
  uint8_t argument;
};

struct PatternRow {
  PatternCell cells[16];
};
static_assert(sizeof(PatternRow) == 64, "pattern rows are 64 bytes");

struct OrderList {
  uint16_t length = 64;
  std::vector<OrderStep> steps = std::vector<OrderStep>(64, OrderStep{});

  // Zeroes the steps added.
  void resize(uint16_t newLength);
};

struct Pattern {
  uint16_t rowCount = 64;
  std::vector<PatternRow> rows = std::vector<PatternRow>(64, PatternRow{});

  // Zeroes the rows added.
  void resize(uint16_t newRowCount);
};

struct Song {
  static constexpr int kMaxChannels = 16;   // channels of the synthesizer
  static constexpr int kPatternSlots = 255;

  uint8_t channelCount = 16;
  uint8_t patternSlots = 255;
  uint8_t reserved = 0;
  uint8_t tempo = 125;
  uint8_t speed = 6;
  uint8_t stepLength = 16;
  uint16_t ticksPerStep = 256;  // always 16 x stepLength
  std::vector<OrderList> orderLists = std::vector<OrderList>(16);
  std::vector<Pattern> patterns = std::vector<Pattern>(255);
};

// Frames per tick: 44100 x 60 / (tempo x 32), integer division.
// A tempo of 0 counts as 1 (the loader refuses such songs anyway).
uint32_t samplesPerTickFor(const Song& song);
