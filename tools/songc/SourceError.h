// The one error of the song compiler: a mistake in a source file, reported
// as "FILE:LINE:COLUMN: what" (or "FILE:LINE: what" when no word is to
// blame) so that editors can jump to it.
#pragma once

#include <stdexcept>
#include <string>

class SourceError : public std::runtime_error {
 public:
  SourceError(const std::string& file, int line, const std::string& what)
      : SourceError(file, line, 0, what) {}
  // column: of the word to blame, from 1; 0 for none.
  SourceError(const std::string& file, int line, int column, const std::string& what)
      : std::runtime_error(file + ":" + std::to_string(line) +
                           (column > 0 ? ":" + std::to_string(column) : std::string()) + ": " +
                           what),
        line_(line),
        column_(column) {}

  int line() const { return line_; }
  int column() const { return column_; }

 private:
  int line_;
  int column_;
};
