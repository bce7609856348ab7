#include "base/FileHandle.h"

#include <cstdio>  // SEEK_CUR

#ifdef _WIN32
#include <io.h>
#define KYL_READ _read
#define KYL_WRITE _write
#define KYL_LSEEK _lseek
#else
#include <unistd.h>
#define KYL_READ ::read
#define KYL_WRITE ::write
#define KYL_LSEEK ::lseek
#endif

namespace base {

uint32_t readFile(FileHandle file, void* data, uint32_t bytes) {
  if (file < 0) return 0;
  auto got = KYL_READ(file, data, bytes);
  return got > 0 ? uint32_t(got) : 0;
}

uint32_t writeFile(FileHandle file, const void* data, uint32_t bytes) {
  if (file < 0) return 0;
  auto put = KYL_WRITE(file, data, bytes);
  return put > 0 ? uint32_t(put) : 0;
}

uint32_t filePosition(FileHandle file) {
  if (file < 0) return 0xFFFFFFFFu;
  auto at = KYL_LSEEK(file, 0, SEEK_CUR);
  return at < 0 ? 0xFFFFFFFFu : uint32_t(at);
}

}  // namespace base
