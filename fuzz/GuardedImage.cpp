#include "GuardedImage.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KYL_HEAP_COPY 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(_WIN32)
#define KYL_HEAP_COPY 1
#endif
#ifndef KYL_HEAP_COPY
#include <sys/mman.h>
#include <unistd.h>
#endif

GuardedImage::GuardedImage(const uint8_t* data, size_t size) : size_(size) {
#ifdef KYL_HEAP_COPY
  data_ = new uint8_t[size];  // even of 0 bytes: any read is outside it
#else
  const size_t page = size_t(sysconf(_SC_PAGESIZE));
  const size_t dataPages = (size + page - 1) / page;
  mappingSize_ = (dataPages + 1) * page;
  mapping_ = mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping_ == MAP_FAILED) {
    std::perror("fuzz input pages");
    std::abort();
  }
  auto* guard = static_cast<uint8_t*>(mapping_) + dataPages * page;
  mprotect(guard, page, PROT_NONE);
  data_ = guard - size;
#endif
  if (size) std::memcpy(data_, data, size);
}

GuardedImage::~GuardedImage() {
#ifdef KYL_HEAP_COPY
  delete[] data_;
#else
  munmap(mapping_, mappingSize_);
#endif
}
