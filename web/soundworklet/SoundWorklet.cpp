// The page's sound program, which the page's audio worklet runs
// (sound-processor.js): the song's sequencer and synthesizer and the sound
// output's streaming pass, as the desktop program's streaming thread runs
// them, over a ring that the processor plays. No window, no GL, no
// emscripten JS runtime: a WebAssembly module that the processor instantiates
// itself.
//
// Glossary: quantum = the frames one process() call of the worklet plays
// (128 in today's browsers); run = the sound from one start to its stop.
//
// How to use (the processor does): copy the song file image into
// kyl_sound_image(bytes); kyl_sound_start(position) for each run, which
// queues the run's first half second; for each quantum
// kyl_sound_play(frames), which returns the left frames followed by the
// right frames, then kyl_sound_heard_ticks() for the clock; kyl_sound_stop()
// ends the run.
#include <cstdint>
#include <memory>
#include <vector>

#include "base/Random.h"
#include "music/SoundOutput.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"
#include "WorkletRing.h"

#define KYL_EXPORT(name) extern "C" __attribute__((used, export_name(name)))

namespace {

constexpr int kMaxFrames = 4096;

// One run: the synthesizer and the song loaded afresh, the output on its
// ring.
struct Run {
  std::unique_ptr<Synth> synth;
  std::unique_ptr<Song> song;
  WorkletRing* ring = nullptr;  // the output's
  std::unique_ptr<SoundOutput> output;
};

std::vector<uint8_t> gImage;
std::unique_ptr<Run> gRun;
float gFrames[2 * kMaxFrames];

}  // namespace

KYL_EXPORT("kyl_sound_image") uint8_t* kylSoundImage(uint32_t bytes) {
  gImage.assign(bytes, 0);
  return gImage.data();
}

// 0, or the loader's SongLoadError when the image is refused.
KYL_EXPORT("kyl_sound_start") int kylSoundStart(int position) {
  gRun.reset();
  auto run = std::make_unique<Run>();
  // Each run as the desktop program's one run: a synthesizer with no state
  // left from an earlier one.
  run->synth = std::make_unique<Synth>();
  SongLoadResult loaded = loadSong(*run->synth, gImage.data(), gImage.size());
  if (!loaded.song) return int(loaded.error);
  run->song = std::move(loaded.song);
  auto ring = std::make_unique<WorkletRing>(SoundOutput::kBufferBytes);
  run->ring = ring.get();
  run->output = std::make_unique<SoundOutput>(std::move(ring), *run->synth);
  // The synthesizer's random LFO shapes draw from the rendering thread's
  // sequence, which starts afresh with every streaming thread.
  base::srand(1);
  run->output->prepare(*run->song, position);
  // The first pass, as the desktop program's thread makes it at once: the
  // half-second lead, queued before the first quantum plays.
  run->output->streamingPass();
  gRun = std::move(run);
  return 0;
}

KYL_EXPORT("kyl_sound_stop") void kylSoundStop() {
  if (gRun) gRun->ring->stop();
}

// The next frames of the ring, then a streaming pass to refill what they
// took, as the desktop program's thread does after the device has moved on.
KYL_EXPORT("kyl_sound_play") float* kylSoundPlay(int frames) {
  if (frames < 0) frames = 0;
  if (frames > kMaxFrames) frames = kMaxFrames;
  float* left = gFrames;
  float* right = gFrames + frames;
  if (!gRun) {
    for (int i = 0; i < 2 * frames; ++i) gFrames[i] = 0.0f;
    return gFrames;
  }
  gRun->ring->play(left, right, frames);
  gRun->output->streamingPass();
  return gFrames;
}

KYL_EXPORT("kyl_sound_heard_ticks") uint32_t kylSoundHeardTicks() {
  return gRun ? gRun->output->heardTicks() : 0;
}
