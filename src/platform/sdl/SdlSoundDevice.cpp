// The sound device on SDL2: the ring lives here, and SDL's audio callback
// copies out of it at the play cursor, round and round, like a looping
// DirectSound buffer.
//
// The callback runs on SDL's audio thread. It only copies and advances the
// cursor: no locks, no allocation, and it leaves the ring as it found it, so
// a writer that falls behind lets the device replay stale sound, as a looping
// buffer does. Synthesis stays with whoever writes the ring.
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "platform/SoundDevice.h"
#include "platform/common/RingLock.h"
#include "platform/sdl/SdlSoundDevice.h"

namespace platform {
namespace {

// Frames per device period (11.6 ms). The write cursor must stay a period
// beyond what the device has taken, which puts it two periods ahead of what
// is heard; the song clock, counted from the write cursor, runs ahead of the
// sound by that much less the lag of its own arithmetic (most of a tick) and
// of the 10 ms passes. At 1024 frames it ran up to 40 ms ahead.
constexpr Uint16 kDeviceFrames = 512;

// Offsets in the ring fit in this many bits; the time of the last hand-over
// (microseconds, wrapping) takes the rest of the 64-bit word.
constexpr int kOffsetBits = 24;
constexpr uint64_t kOffsetMask = (uint64_t(1) << kOffsetBits) - 1;

// Number of SDL devices open now, and of rings standing in for SDL's dummy
// device; audioDriverName says "silent" when there are neither.
std::atomic<int> openDevices{0};
std::atomic<int> dummyRings{0};
std::atomic<uint32_t> lastPeriodFrames{0};

// Keeps SDL's audio subsystem initialised while it is in use (SDL counts).
class AudioSubsystem {
 public:
  AudioSubsystem() : ok_(SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {}
  ~AudioSubsystem() {
    if (ok_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  AudioSubsystem(const AudioSubsystem&) = delete;
  AudioSubsystem& operator=(const AudioSubsystem&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_;
};

// The looping ring played by an SDL audio device.
class SdlSoundBuffer final : public SoundBuffer {
 public:
  SdlSoundBuffer(uint32_t bytes, uint32_t bytesPerFrame)
      : ring_(bytes, 0), bytesPerFrame_(bytesPerFrame) {}

  ~SdlSoundBuffer() override {
    if (device_ != 0) {
      SDL_CloseAudioDevice(device_);
      openDevices.fetch_sub(1);
    }
  }

  // Throws PlatformError.
  void open(const WaveFormat& format) {
    if (size() > kOffsetMask) throw PlatformError("the sound buffer is too large");
    if (!subsystem_.ok()) throw PlatformError(SDL_GetError());
    SDL_AudioSpec want{};
    want.freq = int(format.framesPerSecond);
    want.format = AUDIO_S16LSB;
    want.channels = Uint8(format.channels);
    want.samples = kDeviceFrames;
    want.callback = &SdlSoundBuffer::callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts if the hardware wants another format,
    // so the ring always holds exactly the requested format.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) throw PlatformError(SDL_GetError());
    openDevices.fetch_add(1);
    periodBytes_ = std::min<uint32_t>(uint32_t(have.samples) * bytesPerFrame_, size() / 4);
    bytesPerSecond_ = uint64_t(have.freq) * bytesPerFrame_;
    lastPeriodFrames.store(have.samples);
  }

  uint32_t size() const override { return uint32_t(ring_.size()); }

  bool getCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) override {
    // Acquire: whatever the callback read before moving the cursor is done,
    // so the bytes behind the cursor are free to overwrite.
    uint32_t heard = heardAt(handOver_.load(std::memory_order_acquire));
    // A reading that crossed a hand-over or a stop may come out a little
    // (less than a period) behind the one before; a cursor that went back
    // would read as almost a whole lap of the ring, so it stays where it was
    // instead.
    const uint32_t last = lastHeard_.load(std::memory_order_relaxed);
    if ((last + size() - heard) % size() < periodBytes_) heard = last;
    lastHeard_.store(heard, std::memory_order_relaxed);
    if (playCursor) *playCursor = heard;
    // The callback may be copying the next period at this very moment: like
    // DirectSound's, the write cursor stands beyond what the device has
    // committed to, a period past what it has taken, so a resync never
    // writes under the reader.
    if (writeCursor) *writeCursor = (heard + 2 * periodBytes_) % size();
    return true;
  }

  bool setCurrentPosition(uint32_t playCursor) override {
    // Until the device takes its first period the cursors stand still.
    uint32_t position = (playCursor % size()) / bytesPerFrame_ * bytesPerFrame_;
    handOver_.store(kNotHanded | position, std::memory_order_release);
    lastHeard_.store(position, std::memory_order_relaxed);
    return true;
  }

  bool lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* size1, void** region2,
            uint32_t* size2, uint32_t flags) override {
    return lockRing(ring_, offset, bytes, flags, region1, size1, region2, size2);
  }

  bool unlock(void*, uint32_t, void*, uint32_t) override {
    // Release: the bytes just written are visible to the callback once it
    // has read this counter.
    published_.fetch_add(1, std::memory_order_release);
    return true;
  }

  bool playLooping() override {
    if (device_ == 0) return false;
    playing_.store(true, std::memory_order_release);
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  bool stop() override {
    playing_.store(false, std::memory_order_release);
    if (device_ != 0) SDL_PauseAudioDevice(device_, 1);
    // Paused, the callback no longer runs: the cursors stand where the sound
    // stopped.
    uint32_t heard = heardAt(handOver_.load(std::memory_order_acquire));
    handOver_.store(kNotHanded | heard, std::memory_order_release);
    return true;
  }

 private:
  static void SDLCALL callback(void* user, Uint8* stream, int length) {
    static_cast<SdlSoundBuffer*>(user)->fill(stream, uint32_t(length));
  }

  void fill(Uint8* stream, uint32_t length) {
    if (!playing_.load(std::memory_order_acquire)) {
      std::memset(stream, 0, length);
      return;
    }
    published_.load(std::memory_order_acquire);
    const uint32_t ringSize = size();
    uint32_t cursor = uint32_t(handOver_.load(std::memory_order_relaxed) & kOffsetMask);
    uint32_t done = 0;
    while (done < length) {
      uint32_t piece = std::min(length - done, ringSize - cursor);
      std::memcpy(stream + done, ring_.data() + cursor, piece);
      done += piece;
      cursor = (cursor + piece) % ringSize;
    }
    handOver_.store(microseconds() << kOffsetBits | cursor, std::memory_order_release);
  }

  // Where the sound is now: the last period handed over plays from its
  // hand-over on, so the play cursor moves through it with the clock, as a
  // device's does, instead of a period at a time. A late callback leaves it
  // at the period's end.
  uint32_t heardAt(uint64_t handOver) const {
    const uint32_t taken = uint32_t(handOver & kOffsetMask);
    // Nothing handed over since the cursor was set: it stands there.
    if ((handOver & ~kOffsetMask) == kNotHanded) return taken;
    const uint64_t elapsed =
        (microseconds() - (handOver >> kOffsetBits)) & (~uint64_t(0) >> kOffsetBits);
    const uint32_t played = uint32_t(std::min<uint64_t>(
        elapsed * bytesPerSecond_ / 1000000 / bytesPerFrame_ * bytesPerFrame_, periodBytes_));
    return (taken + size() - periodBytes_ + played) % size();
  }

  static uint64_t microseconds() {
    static const uint64_t frequency = SDL_GetPerformanceFrequency();
    const uint64_t counter = SDL_GetPerformanceCounter();
    return counter / frequency * 1000000 + counter % frequency * 1000000 / frequency;
  }

  AudioSubsystem subsystem_;
  std::vector<uint8_t> ring_;
  uint32_t bytesPerFrame_;
  uint32_t periodBytes_ = 0;  // what one callback takes
  uint64_t bytesPerSecond_ = 0;
  SDL_AudioDeviceID device_ = 0;
  std::atomic<bool> playing_{false};
  // One word, so that a reader never pairs one hand-over's offset with
  // another's time: the first byte the device has not taken yet (low bits)
  // and when the period before it was handed over (microseconds, high bits;
  // all ones before the first hand-over).
  static constexpr uint64_t kNotHanded = ~uint64_t(0) & ~kOffsetMask;
  std::atomic<uint64_t> handOver_{kNotHanded};
  std::atomic<uint32_t> lastHeard_{0};  // the play cursor last reported
  std::atomic<uint32_t> published_{0};
};

// SDL's dummy device plays nothing, and it paces its callback by sleeping a
// period after each call, so it falls behind real time as the machine gets
// busy (15 % with both cores rendering). Nothing is heard either way: a ring
// on the performance counter serves instead and keeps the song clock exact.
class DummyDeviceBuffer final : public SoundBuffer {
 public:
  explicit DummyDeviceBuffer(std::unique_ptr<SoundBuffer> ring) : ring_(std::move(ring)) {
    dummyRings.fetch_add(1);
  }
  ~DummyDeviceBuffer() override { dummyRings.fetch_sub(1); }

  uint32_t size() const override { return ring_->size(); }
  bool getCurrentPosition(uint32_t* play, uint32_t* write) override {
    return ring_->getCurrentPosition(play, write);
  }
  bool setCurrentPosition(uint32_t play) override { return ring_->setCurrentPosition(play); }
  bool lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* size1, void** region2,
            uint32_t* size2, uint32_t flags) override {
    return ring_->lock(offset, bytes, region1, size1, region2, size2, flags);
  }
  bool unlock(void* region1, uint32_t size1, void* region2, uint32_t size2) override {
    return ring_->unlock(region1, size1, region2, size2);
  }
  bool playLooping() override { return ring_->playLooping(); }
  bool stop() override { return ring_->stop(); }

 private:
  std::unique_ptr<SoundBuffer> ring_;
};

bool usingDummyDriver() {
  const char* driver = SDL_GetCurrentAudioDriver();
  return driver && std::strcmp(driver, "dummy") == 0;
}

class SdlSoundDevice final : public SoundDevice {
 public:
  bool ok() const { return subsystem_.ok(); }

  // SDL has no cooperative levels: nothing to refuse.
  bool setCooperativeLevel(WindowHandle) override { return true; }

  std::unique_ptr<SoundBuffer> createBuffer(uint32_t bytes, const WaveFormat& format) override {
    if (format.bitsPerSample != 16 || format.bytesPerFrame() == 0)
      throw PlatformError("only 16-bit sound is supported");
    if (bytes == 0 || bytes % format.bytesPerFrame() != 0)
      throw PlatformError("the buffer size is not a whole number of frames");
    if (usingDummyDriver())
      return std::make_unique<DummyDeviceBuffer>(createSilentSoundBuffer(bytes, format));
    auto buffer = std::make_unique<SdlSoundBuffer>(bytes, format.bytesPerFrame());
    buffer->open(format);
    return buffer;
  }

 private:
  AudioSubsystem subsystem_;
};

}  // namespace

std::unique_ptr<SoundDevice> createSoundDevice() {
  auto device = std::make_unique<SdlSoundDevice>();
  if (!device->ok()) throw PlatformError(SDL_GetError());
  return device;
}

namespace sdl {
uint32_t devicePeriodFrames() { return lastPeriodFrames.load(); }
}  // namespace sdl

std::string audioDriverName() {
  if (openDevices.load() == 0) return dummyRings.load() > 0 ? "dummy" : "silent";
  const char* name = SDL_GetCurrentAudioDriver();
  return name ? name : "silent";
}

}  // namespace platform
