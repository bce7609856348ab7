#include "synth/SongWriter.h"

#include <algorithm>

#include "synth/DataStream.h"
#include "synth/Synth.h"

namespace {

void put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

bool isDefault(const Pattern& pattern) {
  if (pattern.rowCount != 64) return false;
  for (const auto& row : pattern.rows)
    for (const auto& cell : row.cells)
      if (cell.note || cell.velocity || cell.command || cell.argument) return false;
  return true;
}

void writeOrderList(std::vector<uint8_t>& out, int channel, const OrderList& list) {
  put(out, uint32_t(channel), 1);
  put(out, uint32_t(std::min<size_t>(list.steps.size(), 0xFFFF)), 2);
  for (size_t i = 0; i < list.steps.size() && i < 0xFFFF; ++i) {
    const OrderStep& step = list.steps[i];
    const auto* bytes = reinterpret_cast<const uint8_t*>(&step);
    uint32_t mask = 0;
    for (int b = 0; b < 9; ++b)
      if (bytes[b]) mask |= 1u << b;
    put(out, mask, 2);
    for (int b = 0; b < 9; ++b)
      if (bytes[b]) out.push_back(bytes[b]);
  }
}

void writePattern(std::vector<uint8_t>& out, int slot, const Pattern& pattern) {
  put(out, uint32_t(slot), 1);
  put(out, uint32_t(std::min<size_t>(pattern.rows.size(), 0xFFFF)), 2);
  for (size_t r = 0; r < pattern.rows.size() && r < 0xFFFF; ++r) {
    const PatternRow& row = pattern.rows[r];
    uint32_t mask = 0;
    for (int c = 0; c < 16; ++c) {
      const auto& cell = row.cells[c];
      if (cell.note || cell.velocity || cell.command || cell.argument) mask |= 1u << c;
    }
    put(out, mask, 4);
    for (int c = 0; c < 16; ++c)
      if (mask & (1u << c)) {
        const auto& cell = row.cells[c];
        out.insert(out.end(), {cell.note, cell.velocity, cell.command, cell.argument});
      }
  }
}

}  // namespace

void writeSongSection(const Song& song, std::vector<uint8_t>& out) {
  out.insert(out.end(), {'G', 'O', 'A', 'T'});
  put(out, kSongFormatVersion, 2);
  // Every order list is written, so that each keeps its own length.
  const int lists = std::min<int>(song.channelCount, int(song.orderLists.size()));
  bool stored[Song::kPatternSlots] = {};
  int patterns = 0;
  for (int s = 0; s < int(song.patterns.size()) && s < song.patternSlots; ++s)
    if ((stored[s] = !isDefault(song.patterns[s]))) ++patterns;
  put(out, uint32_t(lists), 1);
  put(out, uint32_t(patterns), 1);
  put(out, song.reserved, 1);
  put(out, song.tempo, 1);
  put(out, song.speed, 1);
  put(out, song.stepLength, 1);
  for (int k = 0; k < lists; ++k) writeOrderList(out, k, song.orderLists[k]);
  for (int s = 0; s < int(song.patterns.size()) && s < song.patternSlots; ++s)
    if (stored[s]) writePattern(out, s, song.patterns[s]);
}

std::vector<uint8_t> writeSongFile(Synth& synth, const Song& song) {
  std::vector<uint8_t> out;
  DataStream sink(&out);
  synth.save(sink);
  writeSongSection(song, out);
  return out;
}
