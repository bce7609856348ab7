// A song source file cut into statements: one per line, comments and blank
// lines dropped, words split at white space. A line that starts with a
// `key=value` word continues the statement above it, so long module settings
// can be spread over several lines; every word remembers its own line.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "songc/SourceError.h"

// One statement of the source, with where each word came from for messages
// (columns count characters from 1, a tab as one).
struct SourceLine {
  const std::string* file = nullptr;
  std::vector<std::string> words;
  std::vector<int> lineOfWord;
  std::vector<int> columnOfWord;

  int line() const { return lineOfWord.empty() ? 0 : lineOfWord[0]; }
  [[noreturn]] void fail(const std::string& what) const { failAt(0, what); }
  [[noreturn]] void failAt(size_t word, const std::string& what) const {
    if (word >= lineOfWord.size() || word >= columnOfWord.size())
      throw SourceError(*file, line(), what);
    throw SourceError(*file, lineOfWord[word], columnOfWord[word], what);
  }
};

class SourceText {
 public:
  // Reads a file; a file that cannot be read is reported as line 0.
  static SourceText fromFile(const std::string& path);
  // Cuts text that claims to come from fileName.
  static SourceText fromString(const std::string& fileName, const std::string& text);

  const std::string& fileName() const { return *fileName_; }
  const std::vector<SourceLine>& lines() const { return lines_; }

 private:
  SourceText() = default;
  void cut(const std::string& text);

  // Owned on the heap so that the lines' pointers survive moves.
  std::unique_ptr<std::string> fileName_;
  std::vector<SourceLine> lines_;
};

// True for a word of the form key=value.
bool isSetting(const std::string& word);
