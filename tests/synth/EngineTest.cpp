// The engine: voice allocation, event routing, the mixer.
#include <gtest/gtest.h>

#include <cmath>

#include "synth/ControllerFollower.h"
#include "synth/Synth.h"

namespace {

uint32_t note(uint32_t n, uint32_t velocity = 100) { return n | velocity << 16; }

std::vector<Voice*> voicesOf(Synth& synth, int channel, int layer = 0) {
  std::vector<Voice*> out;
  for (auto& v : synth.channels[channel]->layers[layer]) out.push_back(v.get());
  return out;
}

float peak(const std::vector<float>& samples) {
  float p = 0;
  for (float s : samples) p = std::max(p, std::fabs(s));
  return p;
}

}  // namespace

TEST(Engine, StealingFollowsTheStamps) {
  Synth synth;
  for (int n = 0; n < 8; ++n) synth.event(0, 0, note(40 + n));
  auto voices = voicesOf(synth, 0);
  for (int j = 0; j < 8; ++j) EXPECT_EQ(voices[j]->currentNote, 40 + j);
  // All busy: the voice stamped with the counter (0, after eight advances)
  // is voice 7; then the counter is 1, stamped on voice 0.
  synth.event(0, 0, note(60));
  EXPECT_EQ(voices[7]->currentNote, 60);
  synth.event(0, 0, note(61));
  EXPECT_EQ(voices[0]->currentNote, 61);
  EXPECT_EQ(synth.channels[0]->allocationCounter, 2u);
}

TEST(Engine, KeyRangesNoteOffsAndLayers) {
  Synth synth;
  SynthChannel& ch = *synth.channels[2];
  ch.clearLayers();
  Voice* low = ch.addLayer(2);
  low->keyHigh = 59;
  Voice* all = ch.addLayer(2);
  ch.copyFirstVoices();
  synth.event(2, 0, note(70));
  // The low layer's voice 0 is taken without sounding; the counter still
  // advanced once per layer.
  EXPECT_FALSE(ch.layers[0][0]->active);
  EXPECT_TRUE(all->active);
  EXPECT_EQ(ch.allocationCounter, 0u) << "(0+1)%2 = 1, then (1+1)%2 = 0";
  synth.event(2, 0, note(50));
  EXPECT_TRUE(low->active);
  EXPECT_EQ(ch.layers[1][1]->currentNote, 50) << "layering: both layers sound the note";
  synth.event(2, 1, note(51));
  EXPECT_TRUE(low->gate) << "a note-off for another note leaves the voice";
  synth.event(2, 1, note(50));
  EXPECT_FALSE(low->gate);
  EXPECT_TRUE(low->active) << "still releasing";
}

TEST(Engine, OnlyTheFirstEightChannelsAreHeardAndOutputIsClipped) {
  Synth synth;
  synth.setBlockSize(256);
  std::vector<float> left(256), right(256);
  synth.event(12, 0, note(60, 127));
  synth.event(99, 0, note(60, 127));  // no such channel: ignored
  synth.event(-1, 0, note(60, 127));
  synth.render(left.data(), right.data());
  EXPECT_TRUE(synth.channels[12]->layers[0][0]->active);
  EXPECT_EQ(peak(left), 0.0f);
  EXPECT_EQ(peak(right), 0.0f);

  for (int k = 0; k < 8; ++k) {
    synth.volume[k] = 1000.0f;
    synth.event(k, 0, note(60, 127));
  }
  for (int b = 0; b < 4; ++b) synth.render(left.data(), right.data());
  EXPECT_EQ(peak(left), 1.0f);
  EXPECT_EQ(peak(right), 1.0f);
}

TEST(Engine, VoicesEndWhenTheReleaseIsOverAndSameBlockSizeKeepsState) {
  Synth synth;
  synth.setBlockSize(64);
  std::vector<float> left(64), right(64);
  synth.event(0, 0, note(60));
  Voice& v = *synth.channels[0]->layers[0][0];
  for (int b = 0; b < 20; ++b) synth.render(left.data(), right.data());
  EXPECT_GT(peak(left), 0.0f);
  synth.setBlockSize(64);  // no change
  EXPECT_TRUE(v.active);
  synth.event(0, 1, note(60));
  int blocks = 0;
  while (v.active && blocks < 10) {
    synth.render(left.data(), right.data());
    ++blocks;
  }
  EXPECT_FALSE(v.active);
  EXPECT_EQ(blocks, 3) << "release of 2 steps, then found silent at the next block";
  EXPECT_FALSE(synth.channels[0]->hasActiveVoice());
}

TEST(Engine, ControllerValuesReachModulesTimes256) {
  Synth synth;
  Voice& v = *synth.channels[4]->layers[0][0];
  auto& follower = v.addModulator<ControllerFollower>();
  follower.controller = 9;
  synth.event(4, 2, 9 | 255u << 16);
  EXPECT_NEAR(follower.target, 0.99611f, 1e-5);
  synth.event(4, 2, 8 | 10u << 16);
  EXPECT_NEAR(follower.target, 0.99611f, 1e-5) << "another controller";
}
