#include "songc/PatternRows.h"

#include "songc/Values.h"

bool isRowLine(const SourceLine& line) {
  const std::string& first = line.words[0];
  return first == "|" || parseNote(first).has_value();
}

namespace {

uint8_t hexField(const SourceLine& line, size_t word, const char* what) {
  auto value = parseHexByte(line.words[word]);
  if (!value)
    line.failAt(word, std::string("the ") + what + " must be two hexadecimal digits or '..', found '" +
                          line.words[word] + "'");
  return *value;
}

}  // namespace

PatternRow parseRow(const SourceLine& line, uint8_t defaultVelocity) {
  PatternRow row{};
  size_t column = 0;
  size_t i = 0;
  const size_t count = line.words.size();
  while (i <= count) {
    // The words of one column: up to the next '|' or the end.
    size_t end = i;
    while (end < count && line.words[end] != "|") ++end;
    size_t n = end - i;
    if (column >= 16) line.failAt(i, "a row has at most 16 columns");
    PatternCell& cell = row.cells[column];
    if (n > 4)
      line.failAt(i + 4, "a column holds NOTE VELOCITY COMMAND ARGUMENT; found a fifth word '" +
                             line.words[i + 4] + "'");
    if (n >= 1) {
      auto note = parseNote(line.words[i]);
      if (!note)
        line.failAt(i, "expected a note (C-4, C#4, n46), '...' or 'off', found '" + line.words[i] + "'");
      cell.note = *note;
    }
    if (n >= 2) {
      cell.velocity = hexField(line, i + 1, "velocity");
    } else if (cell.note != kNoNote && cell.note != kRelease) {
      cell.velocity = defaultVelocity;
    }
    if (n == 3) line.failAt(i + 2, "a command needs its argument");
    if (n == 4) {
      cell.command = hexField(line, i + 2, "command");
      cell.argument = hexField(line, i + 3, "argument");
    }
    if (cell.note != kNoNote && cell.note != kRelease && cell.velocity == 0)
      line.failAt(i + 1, "a note needs a velocity above 00 (the envelope divides by it)");
    ++column;
    i = end + 1;
    if (end == count) break;
  }
  return row;
}

void transposeRows(std::vector<PatternRow>& rows, int semitones, const SourceLine& line) {
  for (PatternRow& row : rows)
    for (PatternCell& cell : row.cells) {
      if (cell.note == kNoNote || cell.note == kRelease) continue;
      int note = cell.note + semitones;
      if (note < 1 || note > 254)
        line.fail("transposing " + noteName(cell.note) + " by " + std::to_string(semitones) +
                  " leaves the notes' range");
      cell.note = uint8_t(note);
    }
}
