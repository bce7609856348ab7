#include "music/SongRenderer.h"

#include <algorithm>

#include "music/PcmConversion.h"
#include "music/SongPlayer.h"
#include "synth/DenormalGuard.h"
#include "synth/Song.h"
#include "synth/Synth.h"

RenderedSong renderSong(Synth& synth, const Song& song, uint32_t start, uint32_t end,
                        uint32_t maxBlocks, SongRenderHook* hook) {
  DenormalGuard denormals;
  RenderedSong result;
  const uint32_t frames = samplesPerTickFor(song);
  result.framesPerBlock = frames;
  synth.setBlockSize(int(frames));

  auto player = std::make_unique<SongPlayer>();
  player->song = &song;
  player->orderPosition = start;
  player->tickCounter = 0;

  if (end > start) {
    const uint64_t expected = uint64_t(end - start - 1) * song.ticksPerStep + 1;
    result.blocks.reserve(size_t(std::min<uint64_t>(expected, maxBlocks)));
  }
  std::vector<float> left(frames), right(frames);
  const size_t blockValues = size_t(frames) * 2;
  uint32_t chunkUsed = RenderedSong::kBlocksPerChunk;
  const uint32_t total = uint32_t(song.ticksPerStep) * (end - 1);

  while (player->orderPosition < end && result.blocks.size() < maxBlocks) {
    if (chunkUsed == RenderedSong::kBlocksPerChunk) {
      result.chunks.emplace_back(new int16_t[blockValues * RenderedSong::kBlocksPerChunk]);
      chunkUsed = 0;
    }
    int16_t* block = result.chunks.back().get() + blockValues * chunkUsed++;
    player->tick(synth);
    synth.render(left.data(), right.data());
    convertToPcm(left.data(), right.data(), frames, block);
    result.blocks.push_back(block);

    const uint32_t count = uint32_t(result.blocks.size());
    if (count == maxBlocks && hook) hook->tableFull();
    if (count % 70 == 0 && hook) {
      const uint32_t done = player->tickCounter;
      const uint32_t percent = total ? done * 100 / total : 100;
      const float fraction = total ? float(done) / float(total) : 1.0f;
      hook->progress(count, percent, fraction);
    }
    if (hook) hook->blockDone();
  }
  return result;
}
