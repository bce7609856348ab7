// Sets flush-to-zero and denormals-are-zero on the calling thread while it
// lives, restoring the previous mode after: filter and delay tails decaying
// on silence would otherwise fall into denormals and slow the render down
// many times. Every thread that renders sound holds one.
#pragma once

#if defined(__SSE__) || defined(_M_X64) || defined(_M_IX86)
#include <pmmintrin.h>
#include <xmmintrin.h>
#define KYL_HAVE_MXCSR 1
#endif

class DenormalGuard {
 public:
  DenormalGuard() {
#ifdef KYL_HAVE_MXCSR
    saved_ = _mm_getcsr();
    _mm_setcsr(saved_ | _MM_FLUSH_ZERO_ON | _MM_DENORMALS_ZERO_ON);
#endif
  }
  ~DenormalGuard() {
#ifdef KYL_HAVE_MXCSR
    _mm_setcsr(saved_);
#endif
  }
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

 private:
  unsigned saved_ = 0;
};
