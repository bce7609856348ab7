// The song clock on the DirectSound backend, logged for
// scripts/measure-clock-offset.sh --wine: the program plays the song through
// the real sound output and writes when the heard ticks moved on, on the
// performance counter (under Wine the host's monotonic clock), so that the
// script can set it against a recording of what the sound server played.
//
// Usage: kyl_win32_clock_log_probe SONG_FILE SECONDS LOG_FILE
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "music/FirstSound.h"
#include "music/SoundOutput.h"
#include "platform/SoundDevice.h"
#include "synth/Song.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"

namespace {

double counterSeconds() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s SONG_FILE SECONDS LOG_FILE\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), {});
  const double duration = std::atof(argv[2]);

  const long firstSound = firstSoundOfSong(image, 0);
  if (firstSound < 0) {
    std::fprintf(stderr, "the song's first step is silent or does not load\n");
    return 1;
  }

  Synth synth;
  auto song = loadSong(synth, image.data(), image.size()).song;
  if (!song) return 1;
  SoundOutput output(nullptr, synth);
  std::vector<std::pair<double, uint32_t>> moves;
  moves.reserve(100000);
  // The script checks that this counter runs on its own clock.
  std::printf("counter %.6f\n", counterSeconds());
  std::fflush(stdout);
  const double begin = counterSeconds();
  output.start(*song, 0, 0);
  uint32_t last = ~0u;
  while (counterSeconds() - begin < duration) {
    uint32_t ticks = output.heardTicks();
    if (ticks != last) moves.emplace_back(counterSeconds(), last = ticks);
    Sleep(0);
  }
  output.stop();

  std::FILE* log = std::fopen(argv[3], "w");
  if (!log) return 1;
  std::fprintf(log, "driver %s\nsamplesPerTick %u\nticksPerStep %u\nfirstSound %ld\n",
               platform::audioDriverName().c_str(), samplesPerTickFor(*song), song->ticksPerStep,
               firstSound);
  for (const auto& move : moves) std::fprintf(log, "tick %.6f %u\n", move.first, move.second);
  std::fclose(log);
  return 0;
}
