// The frame-rate readout's smoothing: an exponential average of the elapsed
// time, whose step from one frame to the next settles at the frame period.
#pragma once

struct FrameTimeSmoother {
  double smoothed = 0.0;  // seconds
  double previous = 0.0;  // the smoothed time one frame earlier

  // Takes the seconds elapsed since the clock's start at this frame. The
  // weights are the single-precision 0.1 and 0.9, as the readout always had.
  void add(double seconds) {
    previous = smoothed;
    smoothed = 0.1f * seconds + 0.9f * previous;
  }

  // Frames per second, as the title shows it.
  double rate() const { return 1.0 / (smoothed - previous); }
};
