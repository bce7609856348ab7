// Measures how far the song clock is from what is heard, on the real sound
// device of SDL's disk driver (which writes what it plays to a file, paced in
// real time). Not a test: scripts/measure-clock-offset.sh builds and runs it.
//
// While the song plays, the probe polls two things on one clock: the size of
// the disk driver's file (when each period is played) and the heard ticks
// (when the clock moves on). Afterwards it finds the song in the file by its
// first sound, compared with the same song rendered offline, and for every
// tick the clock reached compares that moment with the moment the tick's
// first frame was played. A frame loop at 60 Hz shows a change up to one
// frame later still; the figures for that are given too.
//
// Usage: kyl_clock_offset_probe SONG_FILE SECONDS [POSITION]
// with SDL_AUDIODRIVER=disk and SDL_DISKAUDIOFILE set.
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>
#include <vector>

#include "music/FirstSound.h"
#include "music/SoundOutput.h"
#include "platform/Clock.h"
#include "platform/sdl/SdlSoundDevice.h"
#include "synth/Song.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"

namespace {

constexpr double kFrameRate = 44100.0;
constexpr double kDisplayFrame = 1.0 / 60.0;

struct Sample {
  double seconds;
  uint64_t value;
};

std::vector<uint8_t> readFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The first frame with a non-zero sample, or -1.
long firstSound(const int16_t* samples, size_t frames) {
  for (size_t i = 0; i < frames; ++i)
    if (samples[2 * i] != 0 || samples[2 * i + 1] != 0) return long(i);
  return -1;
}

// Offsets in seconds: their spread as percentiles, since a loaded machine
// delays a few passes by much more than the rest.
struct Stats {
  std::vector<double> values;
  void add(double v) { values.push_back(v); }
  void print(const char* what) {
    if (values.empty()) return;
    std::sort(values.begin(), values.end());
    auto at = [&](double p) { return 1000 * values[size_t(p * double(values.size() - 1))]; };
    double mean = 0;
    for (double v : values) mean += v;
    mean = 1000 * mean / double(values.size());
    std::printf("%-38s %4zu  mean %+6.1f  median %+6.1f  5%%..95%% %+6.1f..%+6.1f  "
                "min %+6.1f  max %+6.1f ms\n",
                what, values.size(), mean, at(0.5), at(0.05), at(0.95), at(0), at(1));
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s SONG_FILE SECONDS [POSITION]\n", argv[0]);
    return 2;
  }
  const char* diskFile = std::getenv("SDL_DISKAUDIOFILE");
  if (!diskFile) {
    std::fprintf(stderr, "set SDL_AUDIODRIVER=disk and SDL_DISKAUDIOFILE\n");
    return 2;
  }
  const std::vector<uint8_t> image = readFile(argv[1]);
  const double duration = std::atof(argv[2]);
  const int position = argc > 3 ? std::atoi(argv[3]) : 0;

  std::vector<int16_t> reference;
  const long songFirstSound = firstSoundOfSong(image, position, &reference);
  if (songFirstSound < 0) {
    std::fprintf(stderr, "the song's first step is silent or does not load\n");
    return 1;
  }

  Synth synth;
  auto song = loadSong(synth, image.data(), image.size()).song;
  SoundOutput output(nullptr, synth);
  const uint32_t samplesPerTick = samplesPerTickFor(*song);
  std::printf("audio driver %s, %u frames per tick, %u ticks per step\n",
              platform::audioDriverName().c_str(), samplesPerTick, song->ticksPerStep);

  std::vector<Sample> written;  // file size over time
  std::vector<Sample> clock;    // heard ticks over time
  written.reserve(1 << 20);
  clock.reserve(1 << 20);
  const double frequency = double(platform::performanceFrequency());
  const int64_t origin = platform::performanceCounter();
  auto now = [&] { return double(platform::performanceCounter() - origin) / frequency; };
  output.start(*song, position, 0);
  uint64_t lastSize = ~0ull, lastTicks = ~0ull;
  while (now() < duration) {
    struct stat info {};
    uint64_t size = stat(diskFile, &info) == 0 ? uint64_t(info.st_size) : 0;
    uint64_t ticks = output.heardTicks();
    double t = now();
    if (size != lastSize) written.push_back({t, lastSize = size});
    if (ticks != lastTicks) clock.push_back({t, lastTicks = ticks});
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  output.stop();

  const std::vector<uint8_t> played = readFile(diskFile);
  const auto* samples = reinterpret_cast<const int16_t*>(played.data());
  const long fileFirstSound = firstSound(samples, played.size() / 4);
  if (fileFirstSound < 0) {
    std::fprintf(stderr, "nothing but silence was played\n");
    return 1;
  }
  const long songStart = fileFirstSound - songFirstSound;
  // The played sound must be the song itself from there on.
  size_t compared = std::min<size_t>(reference.size(), played.size() / 2 - 2 * songStart);
  compared = std::min<size_t>(compared, 2 * 44100);
  bool same = std::equal(reference.begin(), reference.begin() + long(compared),
                         samples + 2 * songStart);
  std::printf("song starts at frame %ld of the played sound; first %zu frames %s the offline "
              "render\n",
              songStart, compared / 2, same ? "equal" : "DIFFER FROM");

  std::vector<uint64_t> growth;
  for (size_t i = 1; i < written.size(); ++i) growth.push_back(written[i].value - written[i - 1].value);
  std::sort(growth.begin(), growth.end());
  if (!growth.empty())
    std::printf("the file grew %zu times, by %llu to %llu bytes (median %llu)\n", growth.size(),
                (unsigned long long)growth.front(), (unsigned long long)growth.back(),
                (unsigned long long)growth[growth.size() / 2]);

  // When the device played a frame. The driver writes each period as it
  // starts playing it, through a stdio buffer of the file's block size: a
  // period smaller than the buffer waits there, and the buffer reaches the
  // file only when the next period does not fit, so a growth of the file
  // ends a period before the one that started then. A period of the
  // buffer's size or more goes out with its own write, ending the growth.
  // Within a growth the periods played one after the other at the frame rate.
  const uint64_t periodFrames = platform::sdl::devicePeriodFrames();
  struct stat fileInfo {};
  stat(diskFile, &fileInfo);
  const uint64_t bufferedFrames = periodFrames * 4 < uint64_t(fileInfo.st_blksize) ? periodFrames : 0;
  std::printf("device period %llu frames, file blocks of %ld bytes\n",
              (unsigned long long)periodFrames, long(fileInfo.st_blksize));
  auto playedAt = [&](uint64_t frame) -> double {
    for (const Sample& s : written) {
      const uint64_t end = s.value / 4 + bufferedFrames;  // when the growth happened
      if (s.value / 4 > frame)
        return s.seconds - (double(end - periodFrames) - double(frame)) / kFrameRate;
    }
    return -1;
  };

  Stats ticks, steps, framesTicks, framesSteps;
  for (size_t i = 1; i < clock.size(); ++i) {
    uint64_t k = clock[i].value;
    double heard = playedAt(uint64_t(songStart) + k * samplesPerTick);
    if (heard < 0 || clock[i - 1].value + 1 != k) continue;
    double offset = clock[i].seconds - heard;
    // The first frame of a 60 Hz loop at or after the change shows it.
    double shown = std::ceil(clock[i].seconds / kDisplayFrame) * kDisplayFrame - heard;
    ticks.add(offset);
    framesTicks.add(shown);
    if (k % song->ticksPerStep == 0) {
      steps.add(offset);
      framesSteps.add(shown);
    }
  }
  std::printf("clock minus sound (positive: the picture is late)\n");
  ticks.print("every tick, when the clock moves:");
  framesTicks.print("every tick, the 60 Hz frame:");
  steps.print("new order step, when the clock moves:");
  framesSteps.print("new order step, the 60 Hz frame:");
  return !ticks.values.empty() && same ? 0 : 1;
}
