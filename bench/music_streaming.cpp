// What the streaming thread costs: one pass after a resync (half a second of
// sound, the longest pass there is; it must stay well under the 500 ms lead)
// and one steady pass (one tick, the usual 10 ms wake), both with the real
// sequencer and synthesizer on the built "brumtakt" (else a test song).
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "../tests/music/ScriptedSoundBuffer.h"
#include "../tests/music/TestSongs.cpp"
#include "music/SoundOutput.h"
#include "platform/Random.h"
#include "synth/DenormalGuard.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"

namespace {

struct Playback {
  Playback() {
    std::ifstream file(KYL_BINARY_DIR "/data/show/brumtakt", std::ios::binary);
    builtSong = bool(file);
    image = builtSong ? std::vector<uint8_t>(std::istreambuf_iterator<char>(file),
                                             std::istreambuf_iterator<char>())
                      : makeTestSongImage(100, 1);
    synth = std::make_unique<Synth>();
    song = loadSong(*synth, image.data(), image.size()).song;
    auto ring = std::make_unique<ScriptedSoundBuffer>();
    buffer = ring.get();
    output = std::make_unique<SoundOutput>(std::move(ring), *synth);
    platform::srand(1);
    // Into the song, where it is busy: order step 4.
    output->prepare(*song, 4);
    output->streamingPass();
  }

  bool builtSong = false;
  std::vector<uint8_t> image;
  std::unique_ptr<Synth> synth;
  std::unique_ptr<Song> song;
  ScriptedSoundBuffer* buffer = nullptr;
  std::unique_ptr<SoundOutput> output;
};

void ResyncPass(benchmark::State& state) {
  DenormalGuard denormals;
  Playback playback;
  if (!playback.song) {
    state.SkipWithError("the song does not load");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    playback.output->prepare(*playback.song, 4);
    playback.buffer->locks.clear();
    state.ResumeTiming();
    playback.output->streamingPass();
  }
  state.SetLabel(playback.builtSong ? "brumtakt" : "test song");
  state.counters["ticks"] = double(playback.buffer->locks.size());
}
BENCHMARK(ResyncPass)->Unit(benchmark::kMillisecond);

void SteadyPass(benchmark::State& state) {
  DenormalGuard denormals;
  Playback playback;
  if (!playback.song) {
    state.SkipWithError("the song does not load");
    return;
  }
  const uint32_t tickBytes = playback.output->samplesPerTick() * 4;
  uint32_t cursor = playback.buffer->writeCursor;
  for (auto _ : state) {
    cursor = (cursor + tickBytes) % playback.buffer->size();
    playback.buffer->writeCursor = cursor;
    playback.output->streamingPass();
  }
  state.SetLabel(playback.builtSong ? "brumtakt, one tick a pass" : "test song, one tick a pass");
  state.counters["audio_ms_per_pass"] =
      1000.0 * playback.output->samplesPerTick() / 44100.0;
}
BENCHMARK(SteadyPass)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
