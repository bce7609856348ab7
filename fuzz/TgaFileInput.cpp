#include <memory>

#include "FuzzInputs.h"
#include "gfx/TgaSourceOp.h"

bool runTgaFile(const uint8_t* data, size_t size) {
  std::unique_ptr<uint8_t[]> bytes(new uint8_t[size ? size : 1]);
  for (size_t i = 0; i < size; ++i) bytes[i] = data[i];
  TgaSourceOp source(bytes.get(), size, "fuzz input");
  const bool accepted = source.problem() == nullptr;
  if (accepted) {
    // The header is sound here, so these are the file's own width and height.
    const int width = int(bytes[12]) | int(bytes[13]) << 8;
    const int height = int(bytes[14]) | int(bytes[15]) << 8;
    source.generate(nullptr, nullptr, width, height);
  }
  // Wider and lower than most inputs: resampling both up and down.
  source.generate(nullptr, nullptr, 13, 3);
  return accepted;
}
