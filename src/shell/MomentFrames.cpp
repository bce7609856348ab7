#include "shell/MomentFrames.h"

#include <cmath>
#include <string>

#include "shell/OfflineShow.h"
#include "shell/OffscreenTarget.h"
#include "shell/ShellError.h"
#include "shell/SongFile.h"

MomentFrames::MomentFrames(int fps, const std::vector<double>& moments, Picture picture)
    : fps_(fps), picture_(std::move(picture)) {
  if (fps < 1) throw ShellError("the frame rate must be 1 or more");
  show_ = std::make_unique<OfflineShow>(readSongFile(kSongFileName), 0);
  const uint32_t frames = show_->frameCount(fps);
  for (double seconds : moments) {
    // The frame on screen at that moment, as --screenshot takes it.
    const double frame = std::floor(seconds * fps + 1e-9);
    if (!(frame >= 0.0) || frame >= double(frames))
      throw ShellError("the moment " + std::to_string(seconds) + " s is outside the show");
    momentFrames_.push_back(uint32_t(frame));
    if (uint32_t(frame) > last_) last_ = uint32_t(frame);
  }
  target_ = std::make_unique<OffscreenTarget>(kWidth, kHeight);
}

MomentFrames::~MomentFrames() = default;

bool MomentFrames::step(int maxFrames) {
  for (int n = 0; n < maxFrames && next_ <= last_; ++n) {
    const uint32_t k = next_++;
    target_->beginFrame();
    show_->drawFrame(double(k) / fps_);
    for (size_t i = 0; i < momentFrames_.size(); ++i) {
      if (momentFrames_[i] != k) continue;
      target_->read(&rgb_);
      picture_(i, rgb_);
    }
  }
  return next_ <= last_;
}
