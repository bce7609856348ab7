// The image operators an Image evaluates into pixels. Every operator
// generates a fresh buffer of Colors from up to two input buffers, and writes
// and reads its parameters as a compact byte record.
//
// Header byte in memory: arity in bits 0-1, type in bits 2-7. In a record
// the two groups are swapped (arity in bits 6-7), see recordHeader().
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

#include "gfx/Color.h"

// A width x height block of Colors, row-major, row 0 first; whoever holds
// the pointer owns the buffer.
using ColorBuffer = std::unique_ptr<Color[]>;

class ImageOp {
 public:
  ImageOp(int arity, int type);
  virtual ~ImageOp() = default;

  // Returns a new width x height buffer. Inputs are handed over and released
  // before the call returns; generators ignore them.
  virtual ColorBuffer generate(ColorBuffer first, ColorBuffer second, int width, int height) = 0;
  // Writes the record, header byte first.
  virtual void save(std::FILE* file) = 0;
  // Reads the record's fields after the header byte. A short file leaves the
  // fields it could not read unchanged.
  virtual void load(std::FILE* file) = 0;

  // The header byte as it stands in a record.
  uint8_t recordHeader() const;
  // Reads one header byte and creates the operator it names, loaded from the
  // rest of its record; null at end of file or for an unknown operator.
  static std::unique_ptr<ImageOp> readRecord(std::FILE* file);

  uint8_t header;  // arity in bits 0-1, type in bits 2-7
  int32_t arity;
  int32_t type;
};
