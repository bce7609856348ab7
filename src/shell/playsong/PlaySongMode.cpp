// --play-song FILE.song [--start POS] [--watch]: compiles a song source and
// plays it through the sound device, no window, with a readout of the
// position heard (LevelMeter, PositionReadout). With --watch a saved source
// is compiled again and goes on from the order step being heard, switched in
// under the sound output's lock (SoundOutput::switchSong); a source that does
// not compile is reported and the last good one plays on. Without --watch the
// player ends after the song's last step; with it, the song starts over.
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "music/SoundOutput.h"
#include "platform/Clock.h"
#include "platform/SoundDevice.h"
#include "platform/Terminal.h"
#include "shell/Modes.h"
#include "shell/playsong/LevelMeter.h"
#include "shell/playsong/LiveSong.h"
#include "shell/playsong/PositionReadout.h"
#include "shell/playsong/SourceWatch.h"
#include "songc/SourceError.h"

namespace {

constexpr unsigned kFrameMilliseconds = 50;
constexpr unsigned kPollsPerWatch = 5;  // the source is read every 250 ms

volatile std::sig_atomic_t interrupted = 0;
extern "C" void onInterrupt(int) { interrupted = 1; }

// The device's ring, or a silent one that keeps time when there is none.
std::unique_ptr<platform::SoundBuffer> openRing(std::unique_ptr<platform::SoundDevice>& device) {
  try {
    device = platform::createSoundDevice();
    return device->createBuffer(SoundOutput::kBufferBytes, platform::WaveFormat());
  } catch (const platform::PlatformError& error) {
    device.reset();
    std::fprintf(stderr, "play-song: no audio device (%s): playing silently, in time\n",
                 error.what());
  }
  return platform::createSilentSoundBuffer(SoundOutput::kBufferBytes, platform::WaveFormat());
}

// Compiles text; prints the mistake and gives nothing when it does not.
std::unique_ptr<LiveSong> compile(const std::string& path, const std::string& text,
                                  PositionReadout& readout, bool playing) {
  try {
    return buildLiveSong(path, text);
  } catch (const std::exception& error) {
    readout.message(stderr, std::string(error.what()) +
                                (playing ? "\n(the last version that compiled plays on)" : ""));
  }
  return nullptr;
}

}  // namespace

int runPlaySong(const Options& options) {
  const std::string& path = options.songSource;
  PositionReadout readout(stdout, platform::isTerminal(stdout));
  std::optional<std::string> text = readText(path);
  if (!text) {
    std::fprintf(stderr, "kylvander: cannot read the song source %s\n", path.c_str());
    return 1;
  }
  SourceWatch watch(path, *text);
  std::signal(SIGINT, onInterrupt);

  // Without a first good version, --watch waits for one.
  std::unique_ptr<LiveSong> live = compile(path, *text, readout, false);
  std::string goodText = *text;
  while (!live) {
    if (!options.watch) return 1;
    if (interrupted) return 0;
    platform::sleepMilliseconds(kFrameMilliseconds * kPollsPerWatch);
    if (auto saved = watch.poll()) {
      live = compile(path, *saved, readout, false);
      goodText = *saved;
    }
  }
  const uint32_t start = uint32_t(options.startPosition);
  if (start >= live->steps) {
    std::fprintf(stderr, "kylvander: --start %u lies beyond the song's %u order steps\n", start,
                 live->steps);
    return 2;
  }

  std::unique_ptr<platform::SoundDevice> device;
  auto meterOwned = std::make_unique<LevelMeter>(openRing(device));
  LevelMeter* meter = meterOwned.get();
  SoundOutput output(std::move(meterOwned), *live->synth);
  readout.message(stdout, "playing " + path + " on " + platform::audioDriverName() +
                              (options.watch ? "; saving it plays the new version" : "") +
                              "; Ctrl-C ends");
  output.start(*live->song, int(start), 0);

  uint32_t base = start;  // the order step the output's clock counts from
  unsigned polls = 0;
  while (!interrupted) {
    const Song& song = *live->song;
    const uint32_t ticksPerStep = song.ticksPerStep ? song.ticksPerStep : 1;
    const uint32_t heard = output.heardTicks();
    const uint32_t step = base + heard / ticksPerStep;
    const uint32_t inStep = heard % ticksPerStep;
    const uint32_t speed = song.speed ? song.speed : 1;
    // The blocks being heard were written about the half-second lead ago.
    const uint32_t lead = SoundOutput::kLeadBytes / (output.samplesPerTick() * 4);
    readout.show(Position{step, live->steps, inStep / speed, inStep % speed, meter->peak(lead, 3)});

    std::unique_ptr<LiveSong> next;
    uint32_t from = step;
    if (step >= live->steps) {
      if (!options.watch) break;
      next = compile(path, goodText, readout, true);  // a fresh synthesizer for the new round
      from = start;
    } else if (options.watch && ++polls % kPollsPerWatch == 0) {
      if (auto saved = watch.poll()) {
        next = compile(path, *saved, readout, true);
        if (next) {
          goodText = *saved;
          readout.message(stdout,
                          "reloaded " + path + ": playing from step " + std::to_string(step));
        }
      }
    }
    if (next) {
      from = std::min(from, next->steps ? next->steps - 1 : 0);
      output.switchSong(*next->synth, *next->song, int(from));
      base = from;
      live = std::move(next);  // the old song goes only after the switch
    }
    platform::sleepMilliseconds(kFrameMilliseconds);
  }
  output.stop();
  readout.finish();
  return 0;
}
