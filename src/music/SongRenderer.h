// Renders a stretch of a song ahead of time into 16-bit stereo blocks, one
// block per sequencer tick, without any window: the precalculation of the
// sound output and the offline renderer both run this loop.
//
// The loop tests the order position before each tick, so from start to end
// it renders (end - start - 1) x ticksPerStep + 1 ticks.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct Song;
class Synth;

// Told of the loop's progress.
class SongRenderHook {
 public:
  virtual ~SongRenderHook() = default;
  // Every 70 blocks: blocks so far, percent done (ticks / (ticksPerStep x
  // (end - 1)), unsigned integer arithmetic) and the same as a fraction.
  virtual void progress(uint32_t /*blockCount*/, uint32_t /*percent*/, float /*fraction*/) {}
  // The table has reached its limit; rendering stops after this block.
  virtual void tableFull() {}
  // After every block, once any report of that block is made.
  virtual void blockDone() {}
};

// The rendered blocks: framesPerBlock stereo frames (4 bytes each) per
// block, carved from chunks of 100 blocks.
struct RenderedSong {
  static constexpr uint32_t kBlocksPerChunk = 100;

  uint32_t framesPerBlock = 0;
  std::vector<std::unique_ptr<int16_t[]>> chunks;
  std::vector<int16_t*> blocks;  // at most the table's limit
};

// Renders ticks from order position start while the player's order position
// is below end, into at most maxBlocks blocks (stopping when the table is
// full). Sets the synthesizer's block size to samplesPerTickFor(song); the
// player starts with zeroed channel states. hook may be null.
RenderedSong renderSong(Synth& synth, const Song& song, uint32_t start, uint32_t end,
                        uint32_t maxBlocks, SongRenderHook* hook);
