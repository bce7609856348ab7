// The one object through which the show deals with music: it builds the
// synthesizer, loads the song, opens the sound output, optionally renders the
// song ahead, starts and stops playback, and answers the clock questions that
// drive the scene schedule and the scenes' animation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "clock/ShowClock.h"
#include "platform/Stopwatch.h"
#include "platform/Window.h"

class Synth;
struct Song;
class SoundOutput;

class MusicSystem final : public ShowClock {
 public:
  // Receives (argument, fraction done) during precalculation.
  using ProgressCallback = void (*)(void* argument, float fraction);

  MusicSystem();
  // Shut-down: stops the output and joins its thread, then frees output,
  // synthesizer and song. Safe when start or even init never ran.
  ~MusicSystem();
  MusicSystem(const MusicSystem&) = delete;
  MusicSystem& operator=(const MusicSystem&) = delete;

  // Builds synthesizer, song and sound output from the song file image
  // (imageSize bytes; nothing beyond it is read). False when the song could
  // not be loaded (the loader has shown its message); nothing may be started
  // then.
  bool init(const uint8_t* songImage, size_t imageSize, platform::WindowHandle window,
            bool precalculate, int precalcEndPosition, ProgressCallback callback,
            void* callbackArgument);

  // Starts playback at an order step; returns after the half-second lead.
  void start(int position);

  // Order step now audible: start position + heard ticks / ticksPerStep.
  int songPosition() override;
  // Heard ticks / 4.
  int beat() override;
  // Seconds since start (since init before that), on the stopwatch.
  double seconds() override;

  // The heard ticks a live run has that many seconds after its start.
  uint32_t heardTicksAt(double secondsSinceStart) const;

  Synth* synth() { return synth_.get(); }
  Song* song() { return song_.get(); }
  SoundOutput* soundOutput() { return output_.get(); }

 private:
  int startPosition_ = 0;
  Stopwatch stopwatch_;
  std::unique_ptr<Synth> synth_;
  std::unique_ptr<Song> song_;
  std::unique_ptr<SoundOutput> output_;
};
