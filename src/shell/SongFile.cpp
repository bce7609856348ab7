#include "shell/SongFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

// A song is a few kilobytes; this only keeps a wrong file from asking for
// all memory.
constexpr long kMaxSongBytes = 64L * 1024 * 1024;

[[noreturn]] void fail(const char* path, std::string reason) {
  throw SongFileError(path, reason);
}

std::string systemReason(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

// Closes the file on every path.
struct FileCloser {
  std::FILE* file;
  ~FileCloser() { std::fclose(file); }
};

}  // namespace

std::vector<uint8_t> readSongFile(const char* path) {
  std::error_code error;
  auto status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found)
    fail(path, "no such file in " + std::filesystem::current_path(error).string());
  if (error) fail(path, error.message());
  if (status.type() == std::filesystem::file_type::directory) fail(path, "it is a directory");
  if (status.type() != std::filesystem::file_type::regular) fail(path, "it is not a regular file");

  errno = 0;
  std::FILE* file = std::fopen(path, "rb");
  if (!file) fail(path, systemReason("cannot open it"));
  FileCloser closer{file};
  if (std::fseek(file, 0, SEEK_END) != 0) fail(path, systemReason("cannot seek to its end"));
  long size = std::ftell(file);
  if (size < 0) fail(path, systemReason("cannot tell its size"));
  if (size == 0) fail(path, "it is empty");
  if (size > kMaxSongBytes) fail(path, "it is " + std::to_string(size) + " bytes, far too big for a song");
  if (std::fseek(file, 0, SEEK_SET) != 0) fail(path, systemReason("cannot seek back to its start"));

  std::vector<uint8_t> image(std::size_t(size), 0);
  errno = 0;
  std::size_t got = std::fread(image.data(), 1, image.size(), file);
  if (got != image.size()) {
    std::string reason = "short read: " + std::to_string(got) + " of " + std::to_string(size) + " bytes";
    if (std::ferror(file) && errno != 0) reason += std::string(" (") + std::strerror(errno) + ")";
    fail(path, reason);
  }
  return image;
}
