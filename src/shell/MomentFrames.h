// The frames that "--screenshot SECONDS OUT --fps FPS" would take, for many
// moments in one run: every frame from the start drawn on the virtual clock
// into a 640x480 offscreen target, as a capture at FPS draws them, and the
// frame of each moment read back as it passes. The web page's tests and the
// test of the OpenGL ES layer take their pictures this way.
//
// How to use: with a GL context current and the data folder entered,
// construct (it throws ShellError saying why it cannot take the moments);
// call step() until it returns false, each call
// drawing up to maxFrames frames and handing the moments' pictures to the
// callback (RGB rows, top row first).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class OfflineShow;
class OffscreenTarget;

class MomentFrames {
 public:
  using Picture = std::function<void(size_t index, const std::vector<uint8_t>& rgb)>;

  MomentFrames(int fps, const std::vector<double>& moments, Picture picture);
  ~MomentFrames();

  // Draws up to maxFrames more frames; false once the last moment is taken.
  bool step(int maxFrames);

  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;

 private:
  std::unique_ptr<OfflineShow> show_;
  std::unique_ptr<OffscreenTarget> target_;
  int fps_;
  std::vector<uint32_t> momentFrames_;
  uint32_t next_ = 0;
  uint32_t last_ = 0;
  Picture picture_;
  std::vector<uint8_t> rgb_;
};
