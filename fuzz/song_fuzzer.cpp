// Hostile song images: the loader must refuse or accept each without reading
// outside it, and what it accepts must play: a few sequencer ticks rendered
// in short blocks (every module kind runs).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "music/SongPlayer.h"
#include "synth/DenormalGuard.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exactly sized copy: any read past the image is caught.
  std::unique_ptr<uint8_t[]> image(new uint8_t[size ? size : 1]);
  for (size_t i = 0; i < size; ++i) image[i] = data[i];
  DenormalGuard denormals;
  auto synth = std::make_unique<Synth>();
  auto song = loadSong(*synth, image.get(), size);
  if (!song) return 0;

  constexpr int kBlock = 32;
  synth->setBlockSize(kBlock);
  auto player = std::make_unique<SongPlayer>();
  player->song = song.get();
  std::vector<float> left(kBlock), right(kBlock);
  const int ticks = song->ticksPerStep + 8;  // two order steps
  for (int t = 0; t < ticks && t < 64; ++t) {
    player->tick(*synth);
    synth->render(left.data(), right.data());
  }
  return 0;
}
