// Reading the song file whole into memory, every step checked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/ShellError.h"

// Why the song file could not be read: "cannot read the song file "FILE":
// REASON", with the file and the reason kept apart for the modes that word it
// otherwise. The show's guard answers it with its "VET INTE!!" box, after
// writing the message to standard error.
class SongFileError : public ShellError {
 public:
  SongFileError(const std::string& file, const std::string& reason)
      : ShellError("cannot read the song file \"" + file + "\": " + reason),
        file(file),
        reason(reason) {}
  std::string file;
  std::string reason;
};

// The file "brumtakt" in the working directory.
constexpr const char* kSongFileName = "brumtakt";

// The whole file. Throws SongFileError when it is missing, not a regular
// file, empty, too big or cannot be read to its end.
std::vector<uint8_t> readSongFile(const char* path);
