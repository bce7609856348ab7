// What the frame loop does in every frame between its quit test and the end
// of the frame: read the song position, stop past the last scheduled one,
// make the loop's own draws from this thread's rand sequence, and let the
// scheduled scene draw. The live show runs it on the music system's clock;
// the offline modes and the tests run the same code on a VirtualClock, so a
// capture draws exactly the frames the show draws.
//
// How to use: construct on the clock the scenes were built on and on the
// scenes; call draw() once a frame, on the thread that owns the GL context.
#pragma once

#include "scenes/SceneList.h"
#include "shell/SceneSchedule.h"

class ShowClock;

class ShowFrame {
 public:
  ShowFrame(ShowClock& clock, SceneArray& scenes) : clock_(clock), scenes_(scenes) {}

  // Draws the frame the clock stands at; false, with nothing drawn, once the
  // song has passed the last scheduled position. With --verbose, a scene
  // change prints "scene INDEX position POSITION seconds SECONDS" first.
  bool draw();

  // The scene of the last frame drawn, -1 before the first.
  int scene() const { return scene_; }

 private:
  ShowClock& clock_;
  SceneArray& scenes_;
  SceneSchedule schedule_;
  int scene_ = -1;
};
