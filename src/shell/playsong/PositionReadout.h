// The player's readout: on a terminal, one line rewritten in place,
//
//   step   5/23  row 12  tick 3  [##########..........]  -12.5 dB
//
// elsewhere (a pipe, a log) a line "step 5/23" each time the step changes.
// Messages go on lines of their own above it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

struct Position {
  uint32_t step, steps, row, tick;
  float peak;  // 0 to 1
};

class PositionReadout {
 public:
  PositionReadout(std::FILE* out, bool terminal) : out_(out), terminal_(terminal) {}

  void show(const Position& position);
  // A line of text on `stream` (out or standard error), the readout after it.
  void message(std::FILE* stream, const std::string& text);
  // Ends the readout's line.
  void finish();

 private:
  void clearLine();

  std::FILE* out_;
  bool terminal_;
  bool drawn_ = false;
  uint32_t lastStep_ = UINT32_MAX;
};

// The terminal's line for a position.
std::string positionLine(const Position& position);
