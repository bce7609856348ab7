// The sound output: one looping two-second buffer on the sound device, kept
// half a second ahead of the device by a streaming thread that wakes every
// 10 ms and fills, one sequencer tick at a time, the space the device has
// consumed. Each tick's sound comes from the synthesizer in real time or,
// after precalculate, from blocks rendered ahead. After each block the thread
// publishes how many ticks are audible: the song clock.
//
// Glossary: tick = one sequencer step and one rendered block of
// samplesPerTick frames; budget = bytes the thread may write now; resync =
// restart at the device's write cursor with half a second of budget; heard
// ticks = ticks sequenced minus the half-second lead, the clock.
//
// How to use: construct on the window and the synthesizer (device errors are
// shown; without a device the output plays into a silent real-time ring);
// optionally precalculate; start(song, position); read heardTicks() or
// heard() from any thread; stop(). Tests drive the pass by hand: construct on
// a scripted buffer, prepare(), then streamingPass() for each moment they set
// up.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "music/SongPlayer.h"
#include "music/SongRenderer.h"
#include "platform/SoundDevice.h"
#include "platform/Window.h"

class Synth;
struct Song;

class SoundOutput {
 public:
  // Receives (argument, fraction done) every 70 precalculated blocks.
  using ProgressCallback = void (*)(void* argument, float fraction);

  static constexpr uint32_t kBufferBytes = 352800;  // two seconds
  static constexpr uint32_t kLeadBytes = 88200;     // half a second
  static constexpr uint32_t kLatencyMilliseconds = 500;
  static constexpr uint32_t kMixFrames = 524288;    // 2 MiB of floats
  static constexpr unsigned kWakeMilliseconds = 10;

  // Opens the default sound device. Failures show their message; then the
  // output plays into a silent ring that keeps real time.
  SoundOutput(platform::WindowHandle window, Synth& synth);
  // Plays into the given ring (tests, a silent ring, another device).
  SoundOutput(std::unique_ptr<platform::SoundBuffer> buffer, Synth& synth);
  // Stops (when still playing); the precalculated blocks go with the object.
  ~SoundOutput();
  SoundOutput(const SoundOutput&) = delete;
  SoundOutput& operator=(const SoundOutput&) = delete;

  // Starts playback at an order step: prepare(), then the streaming thread;
  // returns after half a second, when the first half second is queued.
  void start(const Song& song, int position) { start(song, position, kLatencyMilliseconds); }
  // The same with another wait before returning (tests: 0).
  void start(const Song& song, int position, unsigned waitMilliseconds);
  // Stops the buffer, ends and joins the thread. Safe without a start and
  // when called twice.
  void stop();
  // Goes on with another song on another synthesizer without stopping the
  // sound (a song player that reloads): under the lock, the sequencer starts
  // `song` afresh at order step `position` on `synth`, and the clock counts
  // from there; the sound queued before plays out first. The old synthesizer
  // and song may go once this returns; the new ones must stay while playing.
  void switchSong(Synth& synth, const Song& song, int position);

  struct Heard {
    uint32_t ticks;
    uint32_t steps;  // ticks / ticksPerStep of the song being played
  };
  // Any thread: takes the output's lock, since a start or a switch may be
  // changing the song, so it waits for a streaming pass to end. The frame
  // loop's clock reads heardTicks() alone, which never waits.
  Heard heard() const;
  uint32_t heardTicks() const { return heardTicks_.load(std::memory_order_relaxed); }

  // Renders the song ahead from order step startPosition while the
  // sequencer stands below endPosition ((end - start - 1) x ticksPerStep + 1
  // ticks), into at most maxframes blocks, behind the "PRGESS" progress
  // window when showWindow. From then on the output plays those blocks.
  void precalculate(const Song& song, int startPosition, int endPosition, bool showWindow,
                    uint32_t maxframes, ProgressCallback callback, void* callbackArgument);
  bool precalculated() const { return precalculated_; }
  uint32_t blockCount() const { return uint32_t(blocks_.blocks.size()); }

  // The heard ticks after `ticks` ticks of samplesPerTick frames have been
  // written: ticks x duration - 0.5 s in ticks, at least 0, truncated.
  static uint32_t heardTicksFor(uint32_t ticks, uint32_t samplesPerTick);
  // The heard ticks a live run shows `seconds` after its start, assuming the
  // device consumes at exactly the real-time rate.
  uint32_t heardTicksAt(double seconds) const { return heardTicksAt(seconds, samplesPerTick_); }
  // The same for ticks of samplesPerTick frames (a song's tempo, before start
  // has set it).
  uint32_t heardTicksAt(double seconds, uint32_t samplesPerTick) const;

  // start() without the thread and the wait: resets the player (or the
  // block index), clears and starts the ring, asks for a resync.
  void prepare(const Song& song, int position);
  // One pass of the streaming thread, under the lock.
  void streamingPass();

  platform::SoundBuffer* buffer() { return buffer_.get(); }
  uint32_t samplesPerTick() const { return samplesPerTick_; }
  const SongPlayer& player() const { return player_; }

 private:
  void initialise();
  void openDevice(platform::WindowHandle window);
  void passLocked();
  bool writeRealTimeBlock(uint32_t tickBytes);
  bool writeStoredBlock(uint32_t tickBytes);
  void run();

  platform::WindowHandle window_ = nullptr;  // the show's, for the device and the focus
  std::unique_ptr<platform::SoundDevice> device_;
  std::unique_ptr<platform::SoundBuffer> buffer_;
  Synth* synth_;  // the streaming pass's, swapped by switchSong under the lock
  SongPlayer player_;

  mutable std::mutex lock_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<uint32_t> heardTicks_{0};

  // Streaming state, touched by the pass under the lock (and by prepare
  // before the thread exists).
  bool resync_ = true;
  bool playing_ = false;
  bool started_ = false;
  uint32_t writePosition_ = 0;
  uint32_t lastWriteCursor_ = 0;
  uint32_t bufferSize_ = 0;
  uint32_t budget_ = 0;
  uint32_t samplesPerTick_ = 826;

  // Precalculated mode: the blocks and the next one to play. firstBlock_ is
  // the block of the start position, so the clock counts from the start as
  // in real-time mode.
  bool precalculated_ = false;
  RenderedSong blocks_;
  uint32_t nextBlock_ = 0;
  uint32_t firstBlock_ = 0;
  int precalcStartPosition_ = 0;

  std::vector<float> left_;
  std::vector<float> right_;
};
