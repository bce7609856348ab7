// Unbuffered file I/O on a handle, standing in for ReadFile, WriteFile and
// SetFilePointer: the synthesizer's data stream reads and writes set-ups
// through it.
#pragma once

#include <cstdint>

namespace base {

// A POSIX file descriptor (also on Windows, through the C runtime).
using FileHandle = int;
constexpr FileHandle kInvalidFileHandle = -1;

// Each returns the number of bytes transferred, 0 on failure or end of file.
uint32_t readFile(FileHandle file, void* data, uint32_t bytes);
uint32_t writeFile(FileHandle file, const void* data, uint32_t bytes);
// The current file position (SetFilePointer with distance 0 from
// FILE_CURRENT); 0xFFFFFFFF on failure.
uint32_t filePosition(FileHandle file);

}  // namespace base
