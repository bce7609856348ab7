#include "plugin/AllocationCounter.h"

#include <cstddef>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KYL_COUNT_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define KYL_COUNT_ALLOCATIONS 0
#endif
#endif
#ifndef KYL_COUNT_ALLOCATIONS
#define KYL_COUNT_ALLOCATIONS 1
#endif

namespace {
thread_local bool armed = false;
thread_local uint64_t counted = 0;
inline void note() {
  if (armed) { ++counted; if (getenv("KYL_ALLOC_ABORT")) __builtin_trap(); }
}
}  // namespace

namespace allocation {
bool available() { return KYL_COUNT_ALLOCATIONS != 0; }
Armed::Armed() { armed = true; }
Armed::~Armed() { armed = false; }
uint64_t count() { return counted; }
}  // namespace allocation

#if KYL_COUNT_ALLOCATIONS
// glibc's own entry points; the definitions below take the public names for
// the whole process (the plugin's libstdc++ and libc calls included).
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);

void* malloc(size_t size) {
  note();
  return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
  note();
  return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size) {
  note();
  return __libc_realloc(p, size);
}
void free(void* p) {
  if (p) note();
  __libc_free(p);
}
}
#endif
