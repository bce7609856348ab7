// Where a song's first sound lies: the song's first two order steps from a
// position rendered offline, on a thread of its own as the streaming thread
// renders (the random LFOs draw from the thread's sequence). For the probes
// that find the song in what a device played.
#pragma once

#include <cstdint>
#include <thread>
#include <vector>

#include "music/SongRenderer.h"
#include "synth/Song.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"

// The frame of the first non-zero sample, or -1 (silent, or not a song);
// `rendered` receives the interleaved frames when given.
inline long firstSoundOfSong(const std::vector<uint8_t>& image, int position,
                             std::vector<int16_t>* rendered = nullptr) {
  std::vector<int16_t> frames;
  std::thread([&] {
    Synth synth;
    auto song = loadSong(synth, image.data(), image.size()).song;
    if (!song) return;
    RenderedSong blocks =
        renderSong(synth, *song, uint32_t(position), uint32_t(position) + 2, 100000, nullptr);
    for (int16_t* block : blocks.blocks)
      frames.insert(frames.end(), block, block + 2 * blocks.framesPerBlock);
  }).join();
  long first = -1;
  for (size_t i = 0; i < frames.size() / 2 && first < 0; ++i)
    if (frames[2 * i] != 0 || frames[2 * i + 1] != 0) first = long(i);
  if (rendered) *rendered = std::move(frames);
  return first;
}
