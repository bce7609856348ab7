#include "songc/MidiImport.h"

#include <algorithm>
#include <map>
#include <numeric>

#include "songc/MidiTimeline.h"
#include "songc/Values.h"
#include "synth/Song.h"
#include "synth/SynthModule.h"

namespace {

constexpr int kColumns = 16;
constexpr uint8_t kSpeedCommand = 255;

// The notes sounding in a channel's columns, kept across its patterns as
// the sequencer keeps them.
struct Columns {
  uint8_t sounding[kColumns] = {};
  uint64_t since[kColumns] = {};  // start order: the oldest of a note ends first
  uint64_t starts = 0;
};

// Writes the events of one tick of one channel into a row.
class RowWriter {
 public:
  RowWriter(const MidiTimeline& timeline, int channel, Columns& columns)
      : timeline_(timeline), channel_(channel), columns_(columns) {}

  void write(PatternRow& row, const TimedEvent* begin, const TimedEvent* end) {
    PatternCell* cells = row.cells;
    int after = -1;     // new notes go to columns after this one, to keep the order
    int released = -1;  // column released by the event just before
    std::map<int, uint8_t> controllers;
    for (const TimedEvent* e = begin; e != end; ++e) {
      const uint8_t note = uint8_t(e->value & 0xFF);
      const uint8_t velocity = uint8_t(e->value >> 16 & 0xFF);
      if (e->kind == eventKind::kController) {
        controllers[int(e->value & 0xFFFF)] = velocity;
        continue;
      }
      if (e->kind == eventKind::kNoteOff) {
        released = oldestSounding(note);
        if (released < 0) continue;  // an end without a start
        // Notes are at least a tick long (MidiTimeline), so no column starts
        // and ends a note in one row.
        if (cells[released].note != kNoNote)
          timeline_.fail(*e, "note " + noteName(note) + " ends as it starts");
        cells[released].note = kRelease;
        cells[released].velocity = velocity;
        columns_.sounding[released] = 0;
        after = std::max(after, released);
        continue;
      }
      // As the sequencer sends a new note over a sounding one: its note-off
      // first, with the new note's velocity.
      int column = -1;
      if (released >= 0 && cells[released].note == kRelease && cells[released].velocity == velocity)
        column = released;
      else
        column = freeColumn(cells, after);
      if (column < 0)
        timeline_.fail(*e, "note " + noteName(note) +
                               " would be the 17th note sounding at once on channel " +
                               std::to_string(channel_) + "; a pattern row has 16 note columns");
      cells[column].note = note;
      cells[column].velocity = velocity;
      columns_.sounding[column] = note;
      columns_.since[column] = ++columns_.starts;
      after = std::max(after, column);
      released = -1;
    }
    // The sequencer sends a row's controllers after its notes, by number.
    for (const auto& [controller, value] : controllers)
      if (!putCommand(cells, uint8_t(controller), value))
        timeline_.fail(*begin, "more than 16 controllers change at once on channel " +
                                   std::to_string(channel_) + "; a pattern row has 16 commands");
  }

  static bool putCommand(PatternCell* cells, uint8_t command, uint8_t argument) {
    for (int c = 0; c < kColumns; ++c)
      if (cells[c].command == 0) {
        cells[c].command = command;
        cells[c].argument = argument;
        return true;
      }
    return false;
  }

 private:
  int oldestSounding(uint8_t note) const {
    int found = -1;
    for (int c = 0; c < kColumns; ++c)
      if (columns_.sounding[c] == note && (found < 0 || columns_.since[c] < columns_.since[found]))
        found = c;
    return found;
  }

  int freeColumn(const PatternCell* cells, int after) const {
    int first = -1;
    for (int c = 0; c < kColumns; ++c) {
      if (columns_.sounding[c] != 0 || cells[c].note != 0) continue;
      if (c > after) return c;
      if (first < 0) first = c;
    }
    return first;
  }

  const MidiTimeline& timeline_;
  int channel_;
  Columns& columns_;
};

// Pattern slots by content: the same rows, or the same rows transposed,
// share a slot.
class SlotTable {
 public:
  SlotTable(const MidiTimeline& timeline, Song& song) : timeline_(timeline), song_(song) {}

  OrderStep place(const Pattern& pattern, const TimedEvent& first, int channel) {
    int lowest = 255;
    for (const PatternRow& row : pattern.rows)
      for (const PatternCell& cell : row.cells)
        if (cell.note != kNoNote && cell.note != kRelease)
          lowest = std::min<int>(lowest, cell.note);
    if (lowest == 255) lowest = 0;
    std::string key;
    key.reserve(pattern.rows.size() * sizeof(PatternRow));
    for (const PatternRow& row : pattern.rows)
      for (const PatternCell& cell : row.cells) {
        const bool sounds = cell.note != kNoNote && cell.note != kRelease;
        key += char(sounds ? cell.note - lowest + 1 : cell.note);
        key += {char(cell.velocity), char(cell.command), char(cell.argument)};
      }
    OrderStep step{};
    auto found = known_.find(key);
    if (found != known_.end()) {
      step.pattern = uint8_t(found->second.first);
      step.transpose = int8_t(lowest - found->second.second);
      return step;
    }
    if (next_ >= Song::kPatternSlots)
      timeline_.fail(first, "channel " + std::to_string(channel) +
                                " would start a 255th different pattern; a song holds " +
                                std::to_string(Song::kPatternSlots - 1));
    song_.patterns[size_t(next_)] = pattern;
    known_.emplace(std::move(key), std::make_pair(next_, lowest));
    step.pattern = uint8_t(next_++);
    return step;
  }

 private:
  const MidiTimeline& timeline_;
  Song& song_;
  std::map<std::string, std::pair<int, int>> known_;  // slot and lowest note
  int next_ = 1;
};

// Ticks from row to row for events `spacing` ticks apart: the song's speed
// when they fall on its rows, else the widest spacing that holds them and
// fits a speed command (up to 255).
uint32_t rowSpacing(uint32_t spacing, uint32_t speed) {
  if (spacing % speed == 0) return speed;
  uint32_t rowTicks = std::min<uint32_t>(spacing, 255);
  while (spacing % rowTicks != 0) --rowTicks;
  return rowTicks;
}

}  // namespace

void importMidi(const MidiFile& midi, const std::string& fileName, Song& song,
                const MidiImportOptions& options) {
  const MidiTimeline timeline(midi, fileName, song, options.tolerance);
  const uint32_t stepTicks = song.ticksPerStep ? song.ticksPerStep : 1;
  const uint32_t speed = song.speed ? song.speed : 1;
  const uint32_t steps = timeline.steps();
  song.orderLists.assign(size_t(song.channelCount), OrderList{});
  for (OrderList& list : song.orderLists) list.resize(uint16_t(steps));
  song.patterns.assign(Song::kPatternSlots, Pattern{});
  SlotTable slots(timeline, song);

  for (int channel = 0; channel < int(song.orderLists.size()) && channel < 16; ++channel) {
    const std::vector<TimedEvent>& events = timeline.channel(channel);
    Columns columns;
    RowWriter writer(timeline, channel, columns);
    size_t at = 0;
    for (uint32_t step = 0; step < steps && at < events.size(); ++step) {
      const uint32_t base = step * stepTicks;
      const size_t begin = at;
      uint32_t spacing = stepTicks;
      while (at < events.size() && events[at].tick < base + stepTicks)
        spacing = std::gcd(spacing, events[at++].tick - base);
      if (begin == at) continue;
      const uint32_t rowTicks = rowSpacing(spacing, speed);
      Pattern pattern;
      pattern.resize(uint16_t(stepTicks / rowTicks));
      for (size_t i = begin; i < at;) {
        size_t j = i;
        while (j < at && events[j].tick == events[i].tick) ++j;
        writer.write(pattern.rows[(events[i].tick - base) / rowTicks], &events[i], &events[j]);
        i = j;
      }
      if (rowTicks != speed &&
          !RowWriter::putCommand(pattern.rows[0].cells, kSpeedCommand, uint8_t(rowTicks)))
        timeline.fail(events[begin],
                      "the first row of this step has no room left for the speed command (FF) "
                      "that its events between rows need");
      song.orderLists[size_t(channel)].steps[step] = slots.place(pattern, events[begin], channel);
    }
  }
}
