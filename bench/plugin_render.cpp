// What the plugin costs: processor seconds per second of sound while it
// plays all of brumtakt from MIDI through its CLAP interface, at 44100 Hz
// (the synthesizer's own blocks) and at 48000 Hz (converted), against the
// show's own offline render of the same ticks in the same run.
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "music/SongPlayer.h"
#include "plugin/ClapHost.h"
#include "plugin/SongMidi.h"
#include "synth/DenormalGuard.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"

namespace {

// The show's 23 order steps, as --render-audio --end-position 24 renders them.
constexpr uint32_t kTicks = 23 * 256 + 1;
constexpr uint32_t kBuffer = 512;

const SongMidi& songMidi() {
  static const SongMidi midi = songAsMidi(builtSongFile(), kTicks);
  return midi;
}

double soundSeconds() { return double(kTicks) * songMidi().tickFrames / 44100.0; }

void ShowRender(benchmark::State& state) {
  std::ifstream file(builtSongFile(), std::ios::binary);
  const std::vector<uint8_t> image((std::istreambuf_iterator<char>(file)), {});
  std::vector<float> left(songMidi().tickFrames), right(songMidi().tickFrames);
  for (auto _ : state) {
    state.PauseTiming();
    auto synth = std::make_unique<Synth>();
    auto song = loadSong(*synth, image.data(), image.size()).song;
    synth->setBlockSize(int(songMidi().tickFrames));
    SongPlayer player;
    player.song = song.get();
    state.ResumeTiming();
    DenormalGuard denormals;
    for (uint32_t t = 0; t < kTicks; ++t) {
      player.tick(*synth);
      synth->render(left.data(), right.data());
    }
  }
  state.counters["cpu_s_per_sound_s"] = benchmark::Counter(
      soundSeconds() * double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(ShowRender)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void PluginThroughClap(benchmark::State& state) {
  const double rate = double(state.range(0));
  const SongMidi& midi = songMidi();
  const uint64_t frames = uint64_t(std::ceil(soundSeconds() * rate));
  std::vector<float> left(kBuffer), right(kBuffer);
  for (auto _ : state) {
    state.PauseTiming();
    auto host = std::make_unique<ClapHost>(KYL_BINARY_DIR "/clap/kylvander-synth.clap", rate, kBuffer);
    state.ResumeTiming();
    size_t next = 0;
    for (uint64_t done = 0; done < frames; done += kBuffer) {
      for (; next < midi.events.size(); ++next) {
        const uint64_t at = uint64_t(std::llround(double(midi.events[next].frame) * rate / 44100.0));
        if (at >= done + kBuffer) break;
        host->midi(uint32_t(at - done), midi.events[next].bytes);
      }
      host->process(kBuffer, left.data(), right.data());
    }
    state.PauseTiming();
    host.reset();
    state.ResumeTiming();
  }
  state.counters["cpu_s_per_sound_s"] = benchmark::Counter(
      soundSeconds() * double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(PluginThroughClap)->Arg(44100)->Arg(48000)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
