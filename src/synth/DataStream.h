// Little-endian reader and writer of synthesizer set-ups, over a memory block
// (reading the song image), a file handle, or a growable byte sink (building
// song files in memory).
//
// Memory-mode reads are bounds-checked: a read past the end of the block
// yields 0 and marks the stream failed, so a truncated or hostile song image
// is detected by the loader and never read beyond its end. Loaders also mark
// the stream failed when they meet a count or type byte outside the format's
// limits; they stop reading as soon as it has failed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/FileHandle.h"

class DataStream {
 public:
  // Memory mode: reads from block[0 .. size).
  DataStream(const uint8_t* block, size_t size);
  // File mode: reads from and writes to the handle (not closed here).
  explicit DataStream(base::FileHandle file);
  // Sink mode: writes append to *sink; reads yield 0.
  explicit DataStream(std::vector<uint8_t>* sink);
  virtual ~DataStream() = default;

  // n bytes (1 to 4), least significant first.
  uint32_t readInt(int n);
  float readFloat();
  uint8_t readByte() { return uint8_t(readInt(1) & 0xFF); }
  // Writes the low n bytes of value, least significant first.
  void writeInt(uint32_t value, int n);
  void writeFloat(float value);
  // Bytes read so far (memory mode) or the file position (file mode).
  uint32_t tell() const;

  // The image ended early, a file read came short, or a loader met a value
  // beyond the format's limits.
  bool failed() const { return failed_; }
  void fail() { failed_ = true; }
  bool inMemory() const { return inMemory_; }

 private:
  void put(const uint8_t* bytes, int n);

  base::FileHandle file_ = base::kInvalidFileHandle;
  const uint8_t* start_ = nullptr;
  uint32_t transferred_ = 0;
  bool readable_ = true;
  bool inMemory_ = false;
  const uint8_t* cursor_ = nullptr;
  const uint8_t* end_ = nullptr;
  std::vector<uint8_t>* sink_ = nullptr;
  bool failed_ = false;
};
