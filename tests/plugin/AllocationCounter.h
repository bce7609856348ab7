// Counts the heap calls (malloc, calloc, realloc, free and what C++'s
// operators call) the current thread makes while armed: a test program that
// links this replaces the C library's allocator entry points with counting
// ones. Sanitizer builds bring their own allocator, so there the counter
// counts nothing (available() says so). With KYL_ALLOC_ABORT set in the
// environment, the first counted call traps, for a debugger's backtrace.
#pragma once

#include <cstdint>

namespace allocation {

bool available();
// While a guard lives, the calling thread's heap calls are counted.
class Armed {
 public:
  Armed();
  ~Armed();
  Armed(const Armed&) = delete;
  Armed& operator=(const Armed&) = delete;
};
// Heap calls counted on the calling thread so far.
uint64_t count();

}  // namespace allocation
