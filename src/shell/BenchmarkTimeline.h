// What "kylvander --benchmark" draws and times, shared by the desktop's mode
// and the page's (web/src/PageBenchmark.h): every frame of the show at 60 per
// second of virtual time, in order, so that the timed frames are the frames
// the live show draws at those moments. The first three seconds each scene
// plays (from the start position on) are timed; every other frame is drawn
// for the state it leaves in the scenes, with nothing rasterised.
//
// How to use: construct once the show is loaded; for frame k at kFps ask
// timedScene(k / kFps): a scene's number means draw and time the frame, -1
// means drawDiscardedFrame. A scene's line is due when the answer changes.
#pragma once

#include <array>

#include "scenes/SceneList.h"

class OfflineShow;

class BenchmarkTimeline {
 public:
  static constexpr double kSecondsPerScene = 3.0;
  static constexpr int kFps = 60;
  static constexpr int kFramesPerScene = int(kSecondsPerScene * kFps);

  BenchmarkTimeline(const OfflineShow& show, int startPosition);

  // The scene whose timed stretch holds this moment, or -1.
  int timedScene(double seconds) const;

 private:
  // The first moment of each scene's first position from the start position
  // on; negative for a scene played before it.
  std::array<double, kSceneCount> firstMoment_;
};

// Whether the context can turn rasterisation off (OpenGL 3.0); without it a
// discarded frame draws into an empty scissor box.
bool canDiscardRasterizer();

// A frame drawn for its state alone: the toolkit sends no primitives and
// nothing reaches the window, which is nearly all of a frame's cost.
void drawDiscardedFrame(OfflineShow& show, double seconds, bool canDiscard);
