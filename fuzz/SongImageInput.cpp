#include <memory>
#include <vector>

#include "FuzzInputs.h"
#include "music/SongPlayer.h"
#include "synth/DenormalGuard.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"

bool runSongImage(const uint8_t* data, size_t size, bool play) {
  // An exactly sized copy: any read past the image is caught.
  std::unique_ptr<uint8_t[]> image(new uint8_t[size ? size : 1]);
  for (size_t i = 0; i < size; ++i) image[i] = data[i];
  DenormalGuard denormals;
  auto synth = std::make_unique<Synth>();
  auto song = loadSong(*synth, image.get(), size).song;
  if (!song) return false;
  if (!play) return true;

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
