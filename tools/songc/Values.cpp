#include "songc/Values.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

std::optional<long> parseInteger(const std::string& word) {
  if (word.empty()) return std::nullopt;
  const char* text = word.c_str();
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text, &end, 0);
  // strtol's base 0 would read a leading 0 as octal: "08" must be eight.
  bool octal = false;
  size_t digits = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (word.size() > digits + 1 && word[digits] == '0' && word[digits + 1] != 'x' && word[digits + 1] != 'X')
    octal = true;
  if (octal) value = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || end == text) return std::nullopt;
  return value;
}

std::optional<float> parseFloat(const std::string& word) {
  if (word.empty()) return std::nullopt;
  const char* text = word.c_str();
  char* end = nullptr;
  errno = 0;
  float value = std::strtof(text, &end);
  if (errno != 0 || *end != '\0' || end == text || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<bool> parseFlag(const std::string& word) {
  if (word == "yes" || word == "true" || word == "on" || word == "1") return true;
  if (word == "no" || word == "false" || word == "off" || word == "0") return false;
  return std::nullopt;
}

std::optional<long> parseChoice(const std::string& word, const std::vector<const char*>& names) {
  for (size_t i = 0; i < names.size(); ++i)
    if (word == names[i]) return long(i);
  return parseInteger(word);
}

static int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<uint8_t> parseHexByte(const std::string& word) {
  if (word == ".." || word == "--") return uint8_t(0);
  if (word.size() != 2) return std::nullopt;
  int high = hexDigit(word[0]), low = hexDigit(word[1]);
  if (high < 0 || low < 0) return std::nullopt;
  return uint8_t(high * 16 + low);
}

std::optional<uint8_t> parseNote(const std::string& word) {
  if (word == "..." || word == "---") return kNoNote;
  if (word == "off" || word == "===") return kRelease;
  if (word.size() > 1 && word[0] == 'n') {
    auto number = parseInteger(word.substr(1));
    if (!number || *number < 1 || *number > 254) return std::nullopt;
    return uint8_t(*number);
  }
  if (word.size() != 3) return std::nullopt;
  static const int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  char letter = char(std::toupper(static_cast<unsigned char>(word[0])));
  if (letter < 'A' || letter > 'G' || !std::isdigit(static_cast<unsigned char>(word[2])))
    return std::nullopt;
  int semitone = kSemitone[letter - 'A'];
  if (word[1] == '#') ++semitone;
  else if (word[1] == 'b') --semitone;
  else if (word[1] != '-') return std::nullopt;
  int note = 12 * (word[2] - '1') + semitone + 1;
  if (note < 1 || note > 254) return std::nullopt;
  return uint8_t(note);
}

std::string noteName(int note) {
  static const char* kNames[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
  if (note < 1 || note > 254) return "n" + std::to_string(note);
  int index = note - 1;
  return std::string(kNames[index % 12]) + std::to_string(index / 12 + 1);
}

std::string joinNames(const std::vector<const char*>& names) {
  std::string out;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i) out += ", ";
    out += names[i];
  }
  return out;
}
