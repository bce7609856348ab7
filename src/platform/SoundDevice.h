// The sound device and its looping secondary buffer, with DirectSound 8's
// semantics: a ring of bytes that the device plays round and round, a play
// cursor (where the device reads) and a write cursor (the first byte it is
// safe to write), and locks that hand out up to two regions when a range
// wraps past the end of the ring.
//
// Glossary: ring = the buffer's bytes; play cursor = next byte the device
// takes; write cursor = play cursor plus what the device has already taken
// into its own queue; region = a contiguous piece of a locked range.
//
// The Win32 backend wraps IDirectSound8/IDirectSoundBuffer. The SDL2 backend
// keeps the ring itself and lets SDL's audio callback copy out of it. When no
// device can be opened, createSilentSoundBuffer gives a ring that nobody
// hears but whose cursors advance at the real-time rate, so the song clock
// still runs.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "base/SampleRate.h"
#include "platform/PlatformError.h"
#include "platform/Window.h"

namespace platform {

// The one format the show plays: 16-bit signed stereo at 44100 Hz.
struct WaveFormat {
  uint16_t channels = 2;
  uint32_t framesPerSecond = kSampleRate;
  uint16_t bitsPerSample = 16;
  uint16_t bytesPerFrame() const { return uint16_t(channels * bitsPerSample / 8); }
};

// Lock flags.
constexpr uint32_t kLockEntireBuffer = 2;  // DSBLOCK_ENTIREBUFFER

class SoundBuffer {
 public:
  virtual ~SoundBuffer() = default;
  // Real size of the ring in bytes (GetCaps).
  virtual uint32_t size() const = 0;
  virtual bool getCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) = 0;
  virtual bool setCurrentPosition(uint32_t playCursor) = 0;
  // Locks `bytes` bytes at `offset` (or the whole ring with
  // kLockEntireBuffer). The range comes back as region 1 up to the ring's end
  // and region 2 from its start; region 2 is null with size 0 when the range
  // does not wrap.
  virtual bool lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* size1,
                    void** region2, uint32_t* size2, uint32_t flags) = 0;
  virtual bool unlock(void* region1, uint32_t size1, void* region2, uint32_t size2) = 0;
  // Starts playing from the play cursor, round and round.
  virtual bool playLooping() = 0;
  virtual bool stop() = 0;
};

class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  // DSSCL_PRIORITY on the window. False when refused.
  virtual bool setCooperativeLevel(WindowHandle window) = 0;
  // A looping secondary buffer of `bytes` bytes of `format`. Throws
  // PlatformError when refused.
  virtual std::unique_ptr<SoundBuffer> createBuffer(uint32_t bytes, const WaveFormat& format) = 0;
};

// Opens the default sound device. Throws PlatformError when there is none.
std::unique_ptr<SoundDevice> createSoundDevice();

// A ring with no device behind it: the play cursor advances on the
// performance counter at the format's rate while playing.
std::unique_ptr<SoundBuffer> createSilentSoundBuffer(uint32_t bytes, const WaveFormat& format);

#ifdef __EMSCRIPTEN__
// A web page makes its sound in the browser's audio worklet, off the page's
// main thread (which has no other thread to stream on without cross-origin
// isolation): the page's sound program runs the same streaming pass there,
// with a sequencer and a synthesizer of its own on the same song. The show's
// sound output starts it at an order step and keeps the heard ticks it
// reports, which the page stores into *heardTicks between frames; the sound
// buffer's stop ends it.
void streamInAudioWorklet(int position, std::atomic<uint32_t>* heardTicks);
#endif

// The name of the audio driver in use ("pulseaudio", "dummy", "dsound",
// "silent" when nothing could be opened).
std::string audioDriverName();

}  // namespace platform
