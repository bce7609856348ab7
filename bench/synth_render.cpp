// What the synthesizer costs: the real-time factor of rendering a song
// offline (seconds of audio per second of one core) and the cost of one
// voice-sample for a plain and a rich voice.
//
// The song is the built "brumtakt" when it exists, else the tests' demo song.
//
// Against an earlier version of the code: RenderSongProcess renders the same
// song with this build's kylvander and with the program named by
// KYL_REFERENCE_KYLVANDER, one after the other in each iteration, and prints
// both real-time factors, each from its program's best run, and their ratio.
// bench/build-reference.sh builds such a program from any commit.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "../tests/synth/DemoSong.cpp"
#include "music/SongRenderer.h"
#include "platform/Random.h"
#include "synth/DenormalGuard.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"

namespace {

const char* const kBuiltSong = KYL_BINARY_DIR "/data/show/brumtakt";

std::vector<uint8_t> songImage(bool& builtSong) {
  std::ifstream file(kBuiltSong, std::ios::binary);
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

// Renders the song up to endPosition with program in a child process into a
// temporary WAV file. Returns the child's processor seconds (user and
// system) and sets audioSeconds from the file, or returns -1.
double renderInChild(const std::string& program, const std::string& song, uint32_t endPosition,
                     double& audioSeconds) {
  const std::string wav = "/tmp/kyl-bench-render-" + std::to_string(getpid()) + ".wav";
  const std::string end = std::to_string(endPosition);
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    execl(program.c_str(), program.c_str(), "--render-audio", wav.c_str(), "--song", song.c_str(),
          "--end-position", end.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0)
    return -1;
  std::ifstream file(wav, std::ios::binary | std::ios::ate);
  audioSeconds = file ? double(int64_t(file.tellg()) - 44) / 4.0 / 44100.0 : 0.0;
  std::remove(wav.c_str());
  auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void RenderSongProcess(benchmark::State& state) {
  const char* reference = std::getenv("KYL_REFERENCE_KYLVANDER");
  const std::string current = KYL_BINARY_DIR "/src/shell/kylvander";
  if (!reference || !*reference) {
    state.SkipWithError("KYL_REFERENCE_KYLVANDER names no program to compare with");
    return;
  }
  if (access(current.c_str(), X_OK) != 0 || !std::ifstream(kBuiltSong)) {
    state.SkipWithError("build kylvander and the song first");
    return;
  }
  // The machines this runs on share their cores with others, which slows
  // single runs by up to a half: each program's best run is its figure.
  double currentSeconds = 1e30, referenceSeconds = 1e30, audioSeconds = 0;
  for (auto _ : state) {
    double audio = 0, referenceAudio = 0;
    const double mine = renderInChild(current, kBuiltSong, 23, audio);
    const double theirs = renderInChild(reference, kBuiltSong, 23, referenceAudio);
    if (mine < 0 || theirs < 0 || audio != referenceAudio) {
      state.SkipWithError("a render failed or the two lengths differ");
      return;
    }
    currentSeconds = std::min(currentSeconds, mine);
    referenceSeconds = std::min(referenceSeconds, theirs);
    audioSeconds = audio;
    state.SetIterationTime(mine + theirs);
  }
  state.SetLabel("brumtakt, each program's best processor time, start-up and WAV file included");
  state.counters["audio_seconds"] = audioSeconds;
  state.counters["realtime_factor"] = audioSeconds / currentSeconds;
  state.counters["reference_realtime_factor"] = audioSeconds / referenceSeconds;
  state.counters["speedup"] = referenceSeconds / currentSeconds;
}
BENCHMARK(RenderSongProcess)->UseManualTime()->Iterations(7)->Unit(benchmark::kSecond);

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
