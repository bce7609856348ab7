// The ffmpeg program, run as a child process that reads raw RGB frames on its
// standard input: the offline modes encode video and write PNG pictures
// through it. Arguments are passed without a shell, so file names are never
// interpreted.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

class FfmpegPipe {
 public:
  // Whether an ffmpeg program can be run at all.
  static bool available();
  // Throws ShellError saying how to get ffmpeg when it cannot be run.
  static void requireAvailable();

  FfmpegPipe() = default;
  ~FfmpegPipe();
  FfmpegPipe(const FfmpegPipe&) = delete;
  FfmpegPipe& operator=(const FfmpegPipe&) = delete;

  // Starts "ffmpeg" with these arguments (the program name not included).
  // Throws ShellError when it cannot be started.
  void open(const std::vector<std::string>& arguments);
  // Writes one frame's bytes. False once ffmpeg has gone away.
  bool write(const std::vector<uint8_t>& bytes);
  // Closes its input and waits for it; throws ShellError when ffmpeg
  // failed. The destructor closes without reporting.
  void close();

 private:
  std::FILE* input_ = nullptr;
#ifndef _WIN32
  long child_ = -1;
#endif
};
