// Reading the values of a song source: numbers (decimal, or hexadecimal with
// 0x), floats, yes/no flags, names from a list, and the tracker notation of
// pattern rows (note names like C#4, two-digit hexadecimal bytes). Each
// returns nothing when the word does not fit, so the caller can say where.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

std::optional<long> parseInteger(const std::string& word);
std::optional<float> parseFloat(const std::string& word);
std::optional<bool> parseFlag(const std::string& word);
// The index of word in names, or a plain number.
std::optional<long> parseChoice(const std::string& word, const std::vector<const char*>& names);
// Two hexadecimal digits, or ".." / "--" for none (0).
std::optional<uint8_t> parseHexByte(const std::string& word);

// Note numbers: C1 is 1 and each semitone adds one, so that an oscillator of
// multiplier 1 plays the named pitch (A4 = 46 = 440 Hz). Words: "C-4",
// "C#4", "Db4" style names, "n46" for a number, "..." or "---" for no note
// (0), "off" or "===" for the release (255).
constexpr uint8_t kNoNote = 0;
constexpr uint8_t kRelease = 255;
std::optional<uint8_t> parseNote(const std::string& word);
// The name of a note number 1 to 254 ("C-4", "C#4"), for messages.
std::string noteName(int note);

// "a, b, c" for messages that list the accepted words.
std::string joinNames(const std::vector<const char*>& names);
