#include "songc/SourceText.h"

#include <fstream>
#include <sstream>

bool isSetting(const std::string& word) {
  size_t eq = word.find('=');
  return eq != std::string::npos && eq > 0;
}

SourceText SourceText::fromFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SourceError(path, 0, "cannot open the file");
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw SourceError(path, 0, "cannot read the file");
  return fromString(path, text.str());
}

SourceText SourceText::fromString(const std::string& fileName, const std::string& text) {
  SourceText source;
  source.fileName_ = std::make_unique<std::string>(fileName);
  source.cut(text);
  return source;
}

void SourceText::cut(const std::string& text) {
  std::istringstream in(text);
  std::string raw;
  int number = 0;
  while (std::getline(in, raw)) {
    ++number;
    std::vector<std::string> words;
    std::vector<int> columns;
    std::string word;
    auto flush = [&] {
      if (!word.empty()) words.push_back(word);
      word.clear();
    };
    for (size_t i = 0; i < raw.size(); ++i) {
      char c = raw[i];
      // '#' opens a comment only at the start of a word: "C#4" is a note.
      if (c == '#' && word.empty()) break;
      if (c == ' ' || c == '\t' || c == '\r') {
        flush();
      } else if (c == '|') {
        // Column separator of pattern rows: a word of its own.
        flush();
        words.push_back("|");
        columns.push_back(int(i) + 1);
      } else {
        if (word.empty()) columns.push_back(int(i) + 1);
        word += c;
      }
    }
    flush();
    if (words.empty()) continue;
    std::vector<int> lineOfWord(words.size(), number);
    if (isSetting(words[0]) && !lines_.empty()) {
      SourceLine& previous = lines_.back();
      previous.words.insert(previous.words.end(), words.begin(), words.end());
      previous.lineOfWord.insert(previous.lineOfWord.end(), lineOfWord.begin(), lineOfWord.end());
      previous.columnOfWord.insert(previous.columnOfWord.end(), columns.begin(), columns.end());
      continue;
    }
    lines_.push_back(
        SourceLine{fileName_.get(), std::move(words), std::move(lineOfWord), std::move(columns)});
  }
}
