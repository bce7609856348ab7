// --render-audio OUT.wav [--song FILE] [--end-position N]: the song rendered
// offline, exactly as the precalculation renders it, into a WAV file.
#include <cstdio>
#include <string>
#include <vector>

#include "music/SongLoadMessages.h"
#include "music/SongRenderer.h"
#include "music/WavFile.h"
#include "platform/Random.h"
#include "platform/Terminal.h"
#include "shell/DataDirectory.h"
#include "shell/Modes.h"
#include "shell/SongFile.h"
#include "synth/Synth.h"

namespace {

// A bar on standard error, redrawn in place every 70 blocks.
class ProgressBar : public SongRenderHook {
 public:
  void progress(uint32_t, uint32_t percent, float) override {
    if (percent > 100) percent = 100;
    const int filled = int(percent) * kWidth / 100;
    std::fprintf(stderr, "\rrendering [%.*s%*s] %3u%%", filled,
                 "########################################", kWidth - filled, "", percent);
    std::fflush(stderr);
    shown_ = true;
  }
  void finish() {
    if (shown_) std::fprintf(stderr, "\rrendering [%.*s] 100%%\n", kWidth,
                             "########################################");
  }

 private:
  static constexpr int kWidth = 40;
  bool shown_ = false;
};

}  // namespace

int runRenderAudio(const Options& options) {
  if (options.endPosition < 0) {
    std::fprintf(stderr, "kylvander: --end-position must not be negative\n");
    return 2;
  }
  const std::string songPath = options.songFile.empty()
                                   ? dataDirectoryFor(options) + "/" + kSongFileName
                                   : options.songFile;
  std::vector<uint8_t> image;
  try {
    image = readSongFile(songPath.c_str());
  } catch (const SongFileError& e) {
    std::fprintf(stderr, "kylvander: cannot read the song %s: %s\n", e.file.c_str(),
                 e.reason.c_str());
    return 1;
  }

  auto synth = std::make_unique<Synth>();
  auto song = loadSongShowingMessages(*synth, image.data(), image.size());
  if (!song) {
    std::fprintf(stderr, "kylvander: %s is not a valid song\n", songPath.c_str());
    return 1;
  }

  // The random LFO waveforms draw from this thread's generator: start it as a
  // fresh rendering thread starts, so every render of a song is the same.
  platform::srand(1);
  const bool terminal = platform::isTerminal(stderr);
  ProgressBar bar;
  RenderedSong rendered = renderSong(*synth, *song, 0, uint32_t(options.endPosition),
                                     UINT32_MAX, terminal ? &bar : nullptr);
  if (terminal) bar.finish();

  std::string error;
  if (!writeWavFile(options.output, rendered.blocks, rendered.framesPerBlock, error)) {
    std::fprintf(stderr, "kylvander: cannot write %s: %s\n", options.output.c_str(),
                 error.c_str());
    return 1;
  }
  return 0;
}
