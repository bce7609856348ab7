// A picture as an image operator: decodes an uncompressed 32-bit TGA held in
// memory (blue, green, red, alpha bytes, first stored row first) to the
// requested size.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/GeneratorOp.h"

class TgaSourceOp : public GeneratorOp {
 public:
  // The bytes are not owned and must outlive generate().
  TgaSourceOp(const uint8_t* data, size_t size, const char* sourceName);

  // Only the width and height fields of the header are read. A file with an
  // impossible size (0 or above kMaxSide) or fewer bytes than its header
  // promises is reported on stderr and decodes as transparent black.
  ColorBuffer generate(ColorBuffer first, ColorBuffer second, int width, int height) override;
  void save(std::FILE* file) override;
  void load(std::FILE* file) override;

  // Why the bytes cannot be decoded, or null when they can.
  const char* problem() const;

  static constexpr int kHeaderSize = 18;
  static constexpr int kMaxSide = 8192;

 private:
  const uint8_t* data_;
  size_t size_;
  const char* sourceName_;
  int fileWidth_ = 0;
  int fileHeight_ = 0;
};
