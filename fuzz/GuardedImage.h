// A copy of one fuzz input that ends exactly where readable memory ends.
//
// Under AddressSanitizer a heap copy of the exact size catches a read past
// either end. The fast fuzz build runs without it (its allocator costs more
// than most inputs), so there the copy is placed at the end of its pages,
// right before a page that may not be read: a read past the image faults at
// once, as it would under the sanitizer.
#pragma once

#include <cstddef>
#include <cstdint>

class GuardedImage {
 public:
  GuardedImage(const uint8_t* data, size_t size);
  ~GuardedImage();
  GuardedImage(const GuardedImage&) = delete;
  GuardedImage& operator=(const GuardedImage&) = delete;

  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
  [[maybe_unused]] void* mapping_ = nullptr;  // pages and guard; unused for a heap copy
  [[maybe_unused]] size_t mappingSize_ = 0;
};
