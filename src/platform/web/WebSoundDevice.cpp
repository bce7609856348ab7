// The sound device of the page's show. The sound is made in the page's audio
// worklet, where the page's sound program (web/soundworklet) runs the
// streaming pass with its own ring: the main thread only starts it at an
// order step, stops it, and keeps the heard ticks it reports. The page
// (sound.js) owns the audio context and the worklet's node and hands them in
// as Module.kylSound, with start(position, run) and stop(); the heard ticks
// come back through kyl_web_heard_ticks.
#include <emscripten.h>

#include "platform/SoundDevice.h"

namespace platform {
namespace {

// Where the heard ticks of the running run go, and which run that is: a
// report from an earlier run, still on its way, is dropped.
std::atomic<uint32_t>* gHeardTicks = nullptr;
int gRun = 0;
// Devices open now: audioDriverName says "silent" when there are none.
int gDevices = 0;

EM_JS(int, pageHasSoundWorklet, (), { return Module["kylSound"] ? 1 : 0; });

EM_JS(void, startSoundWorklet, (int position, int run), {
  if (Module["kylSound"]) Module["kylSound"].start(position, run);
});

EM_JS(void, stopSoundWorklet, (), {
  if (Module["kylSound"]) Module["kylSound"].stop();
});

// The sound buffer's place on the main thread: the ring itself is the
// worklet's, so there is nothing here to lock or to read cursors from.
class WorkletSoundBuffer final : public SoundBuffer {
 public:
  explicit WorkletSoundBuffer(uint32_t bytes) : bytes_(bytes) {}
  ~WorkletSoundBuffer() override { stop(); }

  uint32_t size() const override { return bytes_; }

  bool getCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) override {
    if (playCursor) *playCursor = 0;
    if (writeCursor) *writeCursor = 0;
    return true;
  }
  bool setCurrentPosition(uint32_t) override { return true; }
  bool lock(uint32_t, uint32_t, void**, uint32_t*, void**, uint32_t*, uint32_t) override {
    return false;
  }
  bool unlock(void*, uint32_t, void*, uint32_t) override { return true; }
  // The worklet starts playing when streamInAudioWorklet names the position.
  bool playLooping() override { return true; }

  bool stop() override {
    if (gHeardTicks) {
      gHeardTicks = nullptr;
      stopSoundWorklet();
    }
    return true;
  }

 private:
  uint32_t bytes_;
};

class WorkletSoundDevice final : public SoundDevice {
 public:
  WorkletSoundDevice() { ++gDevices; }
  ~WorkletSoundDevice() override { --gDevices; }
  bool setCooperativeLevel(WindowHandle) override { return true; }

  std::unique_ptr<SoundBuffer> createBuffer(uint32_t bytes, const WaveFormat& format) override {
    if (format.bitsPerSample != 16 || format.channels != 2 || format.framesPerSecond != 44100)
      throw PlatformError("the page plays only 16-bit stereo at 44100 Hz");
    return std::make_unique<WorkletSoundBuffer>(bytes);
  }
};

}  // namespace

void streamInAudioWorklet(int position, std::atomic<uint32_t>* heardTicks) {
  gHeardTicks = heardTicks;
  startSoundWorklet(position, ++gRun);
}

std::unique_ptr<SoundDevice> createSoundDevice() {
  if (!pageHasSoundWorklet()) throw PlatformError("the page has no sound worklet");
  return std::make_unique<WorkletSoundDevice>();
}

std::string audioDriverName() { return gDevices > 0 ? "audioworklet" : "silent"; }

}  // namespace platform

// The worklet's report of the heard ticks of a run, delivered by the page
// between frames.
extern "C" EMSCRIPTEN_KEEPALIVE void kyl_web_heard_ticks(int run, uint32_t ticks) {
  if (platform::gHeardTicks && run == platform::gRun)
    platform::gHeardTicks->store(ticks, std::memory_order_relaxed);
}
