// The one error of the song compiler: a mistake in a source file, reported
// as "FILE:LINE: what is wrong" so that editors can jump to it.
#pragma once

#include <stdexcept>
#include <string>

class SourceError : public std::runtime_error {
 public:
  SourceError(const std::string& file, int line, const std::string& what)
      : std::runtime_error(file + ":" + std::to_string(line) + ": " + what) {}
};
