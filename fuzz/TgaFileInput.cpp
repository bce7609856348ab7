#include "FuzzInputs.h"
#include "GuardedImage.h"
#include "gfx/TgaSourceOp.h"

bool runTgaFile(const uint8_t* data, size_t size) {
  const GuardedImage image(data, size);
  const uint8_t* bytes = image.data();
  TgaSourceOp source(bytes, size, "fuzz input");
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
