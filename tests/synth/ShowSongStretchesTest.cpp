// The show's song as built (data/show/brumtakt), through the real loader and
// the offline renderer: three stretches at different order positions, each
// pinned by a hash of its 16-bit samples. Any change to a module's
// arithmetic that the song uses shows here; update a figure only for an
// intended change of the sound.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "music/SongRenderer.h"
#include "platform/Random.h"
#include "synth/SongLoader.h"
#include "synth/Synth.h"

namespace {

struct Stretch {
  uint64_t hash = 14695981039346656037ull;
  double rms = 0;
};

// Four ticks (4 x 1215 frames) from the first tick of order step `start`,
// on a fresh synthesizer, as the show would play them after a seek.
Stretch renderStretch(const std::vector<uint8_t> &image, uint32_t start) {
  Synth synth;
  auto song = loadSong(synth, image.data(), image.size()).song;
  if (!song) {
    ADD_FAILURE() << "the show's song does not load";
    return {};
  }
  platform::srand(1);
  const RenderedSong rendered = renderSong(synth, *song, start, start + 2, 4, nullptr);
  EXPECT_EQ(rendered.blocks.size(), 4u);
  Stretch s;
  double energy = 0;
  for (const int16_t *block : rendered.blocks)
    for (uint32_t i = 0; i < rendered.framesPerBlock * 2; ++i) {
      s.hash = (s.hash ^ uint16_t(block[i])) * 1099511628211ull;
      energy += double(block[i]) * block[i];
    }
  s.rms = std::sqrt(energy / (rendered.blocks.size() * rendered.framesPerBlock * 2.0));
  return s;
}

}  // namespace

TEST(ShowSong, ThreeStretchesSoundAsBefore) {
  std::ifstream in(KYL_BINARY_DIR "/data/show/brumtakt", std::ios::binary);
  ASSERT_TRUE(in) << "build the song first (target kyl_song)";
  const std::vector<uint8_t> image(std::istreambuf_iterator<char>(in), {});

  // The intro's pad, the theme's lead through the delay, the acid bass.
  const struct {
    uint32_t start;
    uint64_t hash;
  } stretches[] = {
      {1, 5779844831249220958ull}, {7, 3713181762236898469ull}, {16, 18028799478794884641ull}};
  for (const auto &expected : stretches) {
    const Stretch got = renderStretch(image, expected.start);
    EXPECT_GT(got.rms, 100.0) << "order step " << expected.start << " is not silent";
    EXPECT_EQ(got.hash, expected.hash)
        << "order step " << expected.start << ": " << got.hash << "ull, rms " << got.rms;
  }
}
