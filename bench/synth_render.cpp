// What the synthesizer costs: the real-time factor of rendering a song
// offline (seconds of audio per second of one core) and the cost of one
// voice-sample for a plain and a rich voice.
//
// The song is the built "brumtakt" when it exists, else the tests' demo song.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "../tests/synth/DemoSong.cpp"
#include "music/SongRenderer.h"
#include "platform/Random.h"
#include "synth/DenormalGuard.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"

namespace {

std::vector<uint8_t> songImage(bool& builtSong) {
  std::ifstream file(KYL_BINARY_DIR "/data/show/brumtakt", std::ios::binary);
  builtSong = bool(file);
  if (file) return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return demoSongImage();
}

void RenderSong(benchmark::State& state) {
  bool builtSong = false;
  const auto image = songImage(builtSong);
  const uint32_t end = builtSong ? 23 : 6;
  double audioSeconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto synth = std::make_unique<Synth>();
    auto song = loadSong(*synth, image.data(), image.size()).song;
    if (!song) {
      state.SkipWithError("the song does not load");
      return;
    }
    platform::srand(1);
    state.ResumeTiming();
    auto rendered = renderSong(*synth, *song, 0, end, UINT32_MAX, nullptr);
    audioSeconds += double(rendered.blocks.size()) * rendered.framesPerBlock / 44100.0;
  }
  state.SetLabel(builtSong ? "brumtakt, positions 0 to 23" : "demo song, positions 0 to 6");
  state.counters["realtime_factor"] = benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate);
  state.counters["audio_seconds"] = audioSeconds / double(state.iterations());
}
BENCHMARK(RenderSong)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// 8 channels x 8 held voices = 64 voices sounding, blocks of one tick.
void RenderVoices(benchmark::State& state) {
  const bool rich = state.range(0) != 0;
  DenormalGuard denormals;
  Synth synth;
  if (rich) {
    // The demo's channel 0 voice (pulse, FM-synced triangle, two-stage
    // filter, saturation) on every channel.
    buildDemoSetup(synth);
    Voice richVoice;
    richVoice.copyFrom(*synth.channels[0]->layers[0][0]);
    for (int k = 0; k < 8; ++k) {
      auto& ch = *synth.channels[k];
      ch.clearLayers();
      ch.addLayer(8)->copyFrom(richVoice);
      ch.copyFirstVoices();
    }
  }
  const int n = 661;
  synth.setBlockSize(n);
  for (int k = 0; k < 8; ++k) {
    synth.channels[k]->insertPresent = false;
    for (int j = 0; j < 8; ++j) synth.event(k, 0, uint32_t(40 + 3 * j + k) | 100u << 16);
  }
  std::vector<float> left(n), right(n);
  int voices = 0;
  for (int k = 0; k < 8; ++k)
    for (auto& v : synth.channels[k]->layers[0]) voices += v->active;
  for (auto _ : state) {
    synth.render(left.data(), right.data());
    benchmark::DoNotOptimize(left.data());
  }
  const double voiceSamples = double(state.iterations()) * voices * n;
  state.SetLabel(rich ? "rich voice" : "default voice");
  state.counters["voices"] = voices;
  state.counters["ns_per_voice_sample"] =
      benchmark::Counter(voiceSamples / 1e9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["realtime_factor"] =
      benchmark::Counter(double(state.iterations()) * n / 44100.0, benchmark::Counter::kIsRate);
}
BENCHMARK(RenderVoices)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
