// The sound device in a page: the ring lives in the program's memory, and a
// Web Audio processor node copies out of it at the play cursor, round and
// round, like a looping DirectSound buffer. The node's callback runs on the
// page's one thread, between frames; after copying it runs the streaming
// pass the sound output handed over, so the ring is refilled whenever the
// device has taken sound, even while no frames are drawn (a hidden tab).
//
// The write cursor is the play cursor: what the node has copied is the
// device's, everything after it may be written.
#include <emscripten.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Random.h"
#include "platform/SoundDevice.h"
#include "platform/common/RingLock.h"
#include "platform/web/WebPage.h"

namespace platform {
namespace {

// Frames the node asks for per callback.
constexpr int kNodeFrames = 2048;

void (*gPass)(void*) = nullptr;
void* gPassUser = nullptr;
// The streaming pass's own rand state, as a fresh thread's.
uint32_t gPassRand = 1;
bool gInPass = false;

class WebSoundBuffer;
WebSoundBuffer* gPlaying = nullptr;
// Devices open now: audioDriverName says "silent" when there are none.
int gDevices = 0;

// Opens the page's audio context at 44100 Hz (the page makes it on the
// user's click, so that browsers let it play) and a processor node on it.
EM_JS(int, openAudioNode, (int frames), {
  try {
    var AudioContextClass = window.AudioContext || window.webkitAudioContext;
    if (!AudioContextClass) return 0;
    if (!Module["kylAudioContext"]) Module["kylAudioContext"] = new AudioContextClass({sampleRate: 44100});
    var context = Module["kylAudioContext"];
    var node = context.createScriptProcessor(frames, 0, 2);
    node.onaudioprocess = function(event) {
      var out = event.outputBuffer;
      var n = out.length;
      var pointer = Module["_kyl_web_audio_fill"](n);
      var at = pointer >> 2;
      out.getChannelData(0).set(HEAPF32.subarray(at, at + n));
      out.getChannelData(1).set(HEAPF32.subarray(at + n, at + 2 * n));
      if (Module["kylAudioTap"]) Module["kylAudioTap"](out.getChannelData(0), out.getChannelData(1));
    };
    node.connect(context.destination);
    if (context.state !== "running") context.resume();
    Module["kylAudioNode"] = node;
    return 1;
  } catch (e) {
    console.warn("sound: " + e);
    return 0;
  }
});

EM_JS(void, closeAudioNode, (), {
  var node = Module["kylAudioNode"];
  if (node) {
    node.onaudioprocess = null;
    node.disconnect();
    Module["kylAudioNode"] = null;
  }
});

// The page's audio context (made now if the page has not), its rate; 0
// when the browser has none.
EM_JS(int, audioContextRate, (), {
  try {
    var AudioContextClass = window.AudioContext || window.webkitAudioContext;
    if (!Module["kylAudioContext"] && AudioContextClass)
      Module["kylAudioContext"] = new AudioContextClass({sampleRate: 44100});
  } catch (e) {
    console.warn("sound: " + e);
  }
  var context = Module["kylAudioContext"];
  return context ? context.sampleRate : 0;
});

class WebSoundBuffer final : public SoundBuffer {
 public:
  WebSoundBuffer(uint32_t bytes, uint32_t bytesPerFrame)
      : ring_(bytes, 0), bytesPerFrame_(bytesPerFrame), mix_(size_t(kNodeFrames) * 2, 0.0f) {}
  ~WebSoundBuffer() override {
    if (gPlaying == this) {
      gPlaying = nullptr;
      closeAudioNode();
    }
  }

  uint32_t size() const override { return uint32_t(ring_.size()); }

  bool getCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) override {
    if (playCursor) *playCursor = cursor_;
    if (writeCursor) *writeCursor = cursor_;
    return true;
  }

  bool setCurrentPosition(uint32_t playCursor) override {
    cursor_ = (playCursor % size()) / bytesPerFrame_ * bytesPerFrame_;
    return true;
  }

  bool lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* size1, void** region2,
            uint32_t* size2, uint32_t flags) override {
    return lockRing(ring_, offset, bytes, flags, region1, size1, region2, size2);
  }

  bool unlock(void*, uint32_t, void*, uint32_t) override { return true; }

  bool playLooping() override {
    if (gPlaying == this) return true;
    if (gPlaying) return false;
    if (!openAudioNode(kNodeFrames)) return false;
    gPlaying = this;
    return true;
  }

  bool stop() override {
    if (gPlaying != this) return true;
    gPlaying = nullptr;
    closeAudioNode();
    return true;
  }

  // Copies `frames` frames from the play cursor on as floats, left block
  // then right block, and moves the cursor past them.
  float* fill(int frames) {
    frames = std::min(frames, kNodeFrames);
    float* left = mix_.data();
    float* right = left + frames;
    for (int i = 0; i < frames; ++i) {
      int16_t sample[2];
      std::memcpy(sample, ring_.data() + cursor_, sizeof sample);
      left[i] = float(sample[0]) * (1.0f / 32768.0f);
      right[i] = float(sample[1]) * (1.0f / 32768.0f);
      cursor_ += bytesPerFrame_;
      if (cursor_ >= ring_.size()) cursor_ = 0;
    }
    return left;
  }

 private:
  std::vector<uint8_t> ring_;
  uint32_t bytesPerFrame_;
  uint32_t cursor_ = 0;
  std::vector<float> mix_;
};

class WebSoundDevice final : public SoundDevice {
 public:
  WebSoundDevice() { ++gDevices; }
  ~WebSoundDevice() override { --gDevices; }
  bool setCooperativeLevel(WindowHandle) override { return true; }

  std::unique_ptr<SoundBuffer> createBuffer(uint32_t bytes, const WaveFormat& format,
                                            std::string* error) override {
    if (format.bitsPerSample != 16 || format.channels != 2 || format.framesPerSecond != 44100) {
      if (error) *error = "the page plays only 16-bit stereo at 44100 Hz";
      return nullptr;
    }
    if (bytes == 0 || bytes % format.bytesPerFrame() != 0) {
      if (error) *error = "the buffer size is not a whole number of frames";
      return nullptr;
    }
    return std::make_unique<WebSoundBuffer>(bytes, format.bytesPerFrame());
  }
};

float gSilence[kNodeFrames * 2] = {};

}  // namespace

namespace web {

void runStreamingPass() {
  if (!gPass || gInPass) return;
  gInPass = true;
  swapRandState(&gPassRand);
  gPass(gPassUser);
  swapRandState(&gPassRand);
  gInPass = false;
}

}  // namespace web

void setStreamingPass(void (*pass)(void* user), void* user) {
  gPass = pass;
  gPassUser = user;
}

std::unique_ptr<SoundDevice> createSoundDevice(std::string* error) {
  const int rate = audioContextRate();
  if (rate == 0) {
    if (error) *error = "the browser gives no Web Audio context";
    return nullptr;
  }
  if (rate != 44100) {
    if (error) *error = "the browser's audio runs at " + std::to_string(rate) + " Hz, not 44100 Hz";
    return nullptr;
  }
  return std::make_unique<WebSoundDevice>();
}

std::string audioDriverName() { return gDevices > 0 ? "webaudio" : "silent"; }

}  // namespace platform

// Called by the node for each block it plays: the block, then a streaming
// pass to fill what it took.
extern "C" EMSCRIPTEN_KEEPALIVE float* kyl_web_audio_fill(int frames) {
  using platform::gPlaying;
  if (!gPlaying) return platform::gSilence;
  float* block = gPlaying->fill(frames);
  platform::web::runStreamingPass();
  return block;
}
