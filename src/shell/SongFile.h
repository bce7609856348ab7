// Reading the song file whole into memory, every step checked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Why the song file could not be read. Deliberately not a std::exception:
// the show's guard answers it with its "VET INTE!!" box, after writing the
// file and the reason to standard error.
struct SongFileError {
  std::string file;
  std::string reason;
};

// The file "brumtakt" in the working directory.
constexpr const char* kSongFileName = "brumtakt";

// The whole file. Throws SongFileError when it is missing, not a regular
// file, empty, too big or cannot be read to its end.
std::vector<uint8_t> readSongFile(const char* path);
