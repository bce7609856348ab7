#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "FuzzInputs.h"
#include "GuardedImage.h"
#include "music/SongPlayer.h"
#include "synth/DenormalGuard.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"

bool runSongImage(const uint8_t* data, size_t size, bool play) {
  const GuardedImage image(data, size);
  DenormalGuard denormals;
  // Building a synthesizer costs more than most loads, and what a load reads
  // never depends on what the synthesizer held before (every part read is
  // replaced), so one synthesizer serves every load of the process. Playing
  // starts from a new one, as the show does.
  static Synth loader;
  if (!loadSong(loader, image.data(), size).song) return false;
  if (!play) return true;

  auto synth = std::make_unique<Synth>();
  auto song = loadSong(*synth, image.data(), size).song;
  if (!song) {
    std::fprintf(stderr, "the image loads into a used synthesizer but not into a new one\n");
    std::abort();
  }

  constexpr int kBlock = 32;
  synth->setBlockSize(kBlock);
  auto player = std::make_unique<SongPlayer>();
  player->song = song.get();
  std::vector<float> left(kBlock), right(kBlock);
  // Past the first order step, so that a step change runs too.
  const int ticks = song->ticksPerStep + 8;
  for (int t = 0; t < ticks && t < 64; ++t) {
    player->tick(*synth);
    synth->render(left.data(), right.data());
  }
  return true;
}
