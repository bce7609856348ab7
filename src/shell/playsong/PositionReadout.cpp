#include "shell/playsong/PositionReadout.h"

#include <cmath>

namespace {

constexpr int kMeterWidth = 20;
constexpr float kMeterFloorDb = -48.0f;

}  // namespace

std::string positionLine(const Position& p) {
  const float db = p.peak > 0.0f ? 20.0f * std::log10(p.peak) : -INFINITY;
  int filled =
      db <= kMeterFloorDb ? 0 : int((db - kMeterFloorDb) / -kMeterFloorDb * kMeterWidth + 0.5f);
  if (filled > kMeterWidth) filled = kMeterWidth;
  char text[160];
  const char* level = "  silent";
  char levelText[16];
  if (p.peak > 0.0f) {
    std::snprintf(levelText, sizeof levelText, "%6.1f dB", double(db));
    level = levelText;
  }
  std::snprintf(text, sizeof text, "step %3u/%u  row %3u  tick %2u  [%.*s%.*s] %s", p.step, p.steps,
                p.row, p.tick, filled, "####################", kMeterWidth - filled,
                "....................", level);
  return text;
}

void PositionReadout::show(const Position& position) {
  if (terminal_) {
    std::fprintf(out_, "\r%s\033[K", positionLine(position).c_str());
    drawn_ = true;
  } else if (position.step != lastStep_) {
    std::fprintf(out_, "step %u/%u\n", position.step, position.steps);
  }
  lastStep_ = position.step;
  std::fflush(out_);
}

void PositionReadout::clearLine() {
  if (terminal_ && drawn_) std::fputs("\r\033[K", out_);
  std::fflush(out_);
  drawn_ = false;
}

void PositionReadout::message(std::FILE* stream, const std::string& text) {
  clearLine();
  std::fprintf(stream, "%s\n", text.c_str());
  std::fflush(stream);
}

void PositionReadout::finish() {
  if (terminal_ && drawn_) std::fputs("\n", out_);
  std::fflush(out_);
  drawn_ = false;
}
