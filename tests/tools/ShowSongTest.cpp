// The show's song as the show gets it: compiled from data/song, read back by
// the real loader, and played by the real sequencer and synthesizer.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "music/SongRenderer.h"
#include "platform/Random.h"
#include "songc/SongCompiler.h"
#include "synth/ControllerFollower.h"
#include "synth/DataStream.h"
#include "synth/Envelope.h"
#include "synth/Filter.h"
#include "synth/SongLoader.h"
#include "synth/SongWriter.h"

namespace {

const CompiledSong& showSong() {
  static const CompiledSong song =
      compileSong(SourceText::fromFile(KYL_SOURCE_DIR "/data/song/brumtakt.song"));
  return song;
}

// The set-up section of an image: everything before "GOAT".
size_t setupLength(const std::vector<uint8_t>& image) {
  for (size_t i = 0; i + 4 <= image.size(); ++i)
    if (image[i] == 'G' && image[i + 1] == 'O' && image[i + 2] == 'A' && image[i + 3] == 'T') return i;
  return image.size();
}

// Loads the image and saves it back: set-up and song section must give the
// very bytes read.
void expectLoadsAndSavesBack(const std::vector<uint8_t>& image) {
  Synth synth;
  SongLoadResult loaded = loadSong(synth, image.data(), image.size());
  ASSERT_NE(loaded.song, nullptr);
  EXPECT_FALSE(loaded.endMarkerWrong);
  const Song& song = *loaded.song;

  std::vector<uint8_t> setup;
  DataStream sink(&setup);
  synth.save(sink);
  const size_t length = setupLength(image);
  ASSERT_EQ(setup.size(), length);
  EXPECT_TRUE(std::equal(setup.begin(), setup.end(), image.begin()));

  std::vector<uint8_t> section;
  writeSongSection(song, section);
  EXPECT_TRUE(std::equal(section.begin(), section.end(), image.begin() + long(length),
                         image.end()));
  EXPECT_EQ(section.size(), image.size() - length);
}

TEST(ShowSong, LoadsAndSavesBackToTheSameBytes) { expectLoadsAndSavesBack(showSong().image); }

// The file the build put beside the show, as the show reads it.
TEST(ShowSong, ShippedFileIsTheCompiledSongAndSavesBack) {
  FILE* file = std::fopen(KYL_BINARY_DIR "/data/show/brumtakt", "rb");
  if (!file) GTEST_SKIP() << "the show's content is not built";
  std::vector<uint8_t> shipped;
  for (int c; (c = std::fgetc(file)) != EOF;) shipped.push_back(uint8_t(c));
  std::fclose(file);
  EXPECT_EQ(shipped, showSong().image);
  expectLoadsAndSavesBack(shipped);
}

TEST(ShowSong, FitsTheShowsClock) {
  const Song& song = *showSong().song;
  EXPECT_EQ(song.ticksPerStep, 16 * song.stepLength);
  // The chorus needs blocks longer than 51 frames.
  EXPECT_GT(samplesPerTickFor(song), 51u);
  const double seconds = 23.0 * song.ticksPerStep * samplesPerTickFor(song) / 44100.0;
  EXPECT_GT(seconds, 90.0);
  EXPECT_LT(seconds, 180.0);

  // Only channels 0 to 7 are heard: nothing is sequenced on the others.
  for (size_t k = 8; k < song.orderLists.size(); ++k)
    for (const OrderStep& step : song.orderLists[k].steps) EXPECT_EQ(step.pattern, 0) << k;
  // At least 23 steps, and something new starts at every scene change.
  for (int position : {0, 4, 6, 10, 14, 16, 18, 20, 22}) {
    bool starts = false;
    for (int k = 0; k < 8; ++k) {
      const OrderList& list = song.orderLists[size_t(k)];
      ASSERT_GE(list.length, 23);
      starts = starts || list.steps[size_t(position)].pattern != 0;
    }
    EXPECT_TRUE(starts) << position;
  }
}

// The song shows off the whole synthesizer: every module kind and mode in
// the heard channels, followers moved by slides and by commands, and all
// three send buses in use.
TEST(ShowSong, UsesEveryModuleKind) {
  const CompiledSong& out = showSong();
  const Synth& synth = *out.synth;
  std::set<std::string> used;
  std::set<int> followed;
  for (int k = 0; k < Synth::kRenderedChannels; ++k) {
    const SynthChannel& channel = *synth.channels[k];
    if (channel.insertPresent) used.insert("insert");
    for (const auto& layer : channel.layers) {
      const Voice& voice = *layer[0];
      for (const auto& modulator : voice.modulators) {
        if (modulator->type == moduleType::kEnvelope)
          used.insert(static_cast<const Envelope&>(*modulator).hold ? "hold" : "no hold");
        if (modulator->type == moduleType::kLfo) used.insert("lfo");
        if (modulator->type == moduleType::kControllerFollower)
          followed.insert(static_cast<const ControllerFollower&>(*modulator).controller);
      }
      for (size_t o = 1; o < voice.oscillators.size(); ++o) {
        const Oscillator& osc = *voice.oscillators[o];
        if (osc.sync) used.insert("sync");
        if (osc.fmAmount != 0.0f || osc.routes[4].depth != 0.0f) used.insert("fm");
        used.insert(osc.combine == 1 ? "ring" : "mix");
      }
      for (const auto& effect : voice.effects) {
        if (effect->type == moduleType::kWaveshaper) used.insert("waveshaper");
        if (effect->type == moduleType::kFilter)
          used.insert("filter" + std::to_string(static_cast<const Filter&>(*effect).mode));
      }
    }
  }
  for (const char* kind : {"insert", "hold", "no hold", "lfo", "sync", "fm", "ring", "mix",
                           "waveshaper", "filter0", "filter1", "filter2", "filter3"})
    EXPECT_TRUE(used.count(kind)) << kind;

  // Followers hear both kinds of controller source.
  const Song& song = *out.song;
  bool slid = false, commanded = false;
  for (int k = 0; k < Synth::kRenderedChannels; ++k)
    for (const OrderStep& step : song.orderLists[size_t(k)].steps)
      slid = slid || followed.count(step.slideA.controller) || followed.count(step.slideB.controller);
  for (const Pattern& pattern : song.patterns)
    for (const PatternRow& row : pattern.rows)
      for (const PatternCell& cell : row.cells) commanded = commanded || followed.count(cell.command);
  EXPECT_TRUE(slid);
  EXPECT_TRUE(commanded);

  for (int b = 0; b < Synth::kBuses; ++b) {
    const float* sends[] = {synth.send1, synth.send2, synth.send3};
    bool sent = false;
    for (int k = 0; k < Synth::kRenderedChannels; ++k) sent = sent || (sends[b][k] > 0.0f && synth.volume[k] > 0.0f);
    EXPECT_TRUE(sent) << "bus " << b + 1;
  }
}

// One step of the chorus, rendered as the show's precalculation renders it:
// loud enough, below full scale, and never silent.
TEST(ShowSong, ChorusLevel) {
  const std::vector<uint8_t>& image = showSong().image;
  Synth synth;
  std::unique_ptr<Song> song = loadSong(synth, image.data(), image.size()).song;
  ASSERT_NE(song, nullptr);
  platform::srand(1);
  RenderedSong rendered = renderSong(synth, *song, 12, 14, UINT32_MAX, nullptr);
  ASSERT_EQ(rendered.blocks.size(), size_t(song->ticksPerStep) + 1);

  double sum = 0.0;
  size_t samples = 0, atClip = 0;
  double quietest = 1.0;  // the lowest RMS of any eighth of a second
  const size_t window = 5512;
  double windowSum = 0.0;
  size_t inWindow = 0;
  for (const int16_t* block : rendered.blocks)
    for (uint32_t i = 0; i < 2 * rendered.framesPerBlock; ++i) {
      const double x = block[i] / 32768.0;
      sum += x * x;
      windowSum += x * x;
      ++samples;
      if (std::abs(int(block[i])) >= 32766) ++atClip;
      if (++inWindow == window) {
        quietest = std::min(quietest, std::sqrt(windowSum / double(window)));
        windowSum = 0.0;
        inWindow = 0;
      }
    }
  const double rmsDb = 10.0 * std::log10(sum / double(samples));
  EXPECT_GT(rmsDb, -20.0);
  EXPECT_LT(rmsDb, -10.0);
  EXPECT_LT(double(atClip) / double(samples), 1e-4);
  EXPECT_GT(20.0 * std::log10(quietest), -40.0);
}

}  // namespace
