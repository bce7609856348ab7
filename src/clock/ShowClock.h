// The three numbers the pictures follow: seconds for animation, the beat for
// effects that repeat with the music, and the song position for the schedule.
// The live show reads them from the music system; the offline modes and the
// tests from a VirtualClock, so that the scenes need no music to draw.
#pragma once

class ShowClock {
 public:
  virtual ~ShowClock() = default;

  // Seconds since playback started.
  virtual double seconds() = 0;
  // Heard ticks / 4.
  virtual int beat() = 0;
  // Order step now audible.
  virtual int songPosition() = 0;
};
