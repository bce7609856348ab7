#include "shell/FrameProgress.h"

#include <cstdio>

FrameProgress::FrameProgress(uint32_t total) : total_(total ? total : 1) {}

void FrameProgress::update(uint32_t done) {
  const double elapsed = stopwatch_.seconds();
  if (done < total_ && elapsed - lastDrawn_ < 0.2) return;
  lastDrawn_ = elapsed;
  draw(done, elapsed);
}

void FrameProgress::finish() { std::fputc('\n', stderr); }

void FrameProgress::draw(uint32_t done, double elapsed) {
  constexpr int kWidth = 30;
  const int filled = int(uint64_t(done) * kWidth / total_);
  char bar[kWidth + 1];
  for (int i = 0; i < kWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kWidth] = '\0';
  const double rate = elapsed > 0.0 ? done / elapsed : 0.0;
  const int left = rate > 0.0 ? int((total_ - done) / rate + 0.5) : 0;
  std::fprintf(stderr, "\r[%s] %u/%u frames  %.1f fps  %d:%02d left ", bar, done, total_, rate,
               left / 60, left % 60);
  std::fflush(stderr);
}
