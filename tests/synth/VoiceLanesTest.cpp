// Voices whose filters run side by side give the floats they give alone.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "synth/Envelope.h"
#include "synth/FilterLanes.h"
#include "synth/Lfo.h"
#include "synth/SynthChannel.h"
#include "synth/SynthScratch.h"
#include "synth/Waveshaper.h"

namespace {

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), sizeof(float) * a.size()) == 0;
}

bool sameStage(const Filter::Stage& a, const Filter::Stage& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// A channel of one layer of eight voices: two pulses and an additive wave,
// a two-stage filter moved by an LFO, a waveshaper and a notch.
std::unique_ptr<SynthChannel> richChannel(SynthScratch& scratch, int n) {
  auto channel = std::make_unique<SynthChannel>(&scratch);
  channel->clearLayers();
  Voice& voice = *channel->addLayer(8);
  auto& lfo = voice.addModulator<Lfo>();
  lfo.period = 5;
  lfo.waveform = 3;  // the random ones would draw from the one sequence both channels share
  voice.oscillators[0]->waveform = Oscillator::kPulse;
  voice.oscillators[0]->routes[0] = {1, 0.3f};
  Oscillator& second = voice.addOscillator();
  second.waveform = Oscillator::kAdditive;
  second.mix = 0.3f;
  voice.effects.clear();
  auto& low = voice.addEffect<Filter>();
  low.singleStage = false;
  low.primary = {1, 0.5f};
  voice.addEffect(moduleType::kWaveshaper);
  auto& notch = voice.addEffect<Filter>();
  notch.mode = Filter::kNotch;
  notch.cutoff = 0.3f;
  channel->copyFirstVoices();
  channel->setBlockSize(n);
  return channel;
}

}  // namespace

TEST(FilterLanes, EveryLaneGivesWhatItsFilterGivesAlone) {
  const int n = 37;
  for (int32_t mode : {Filter::kLowPass, Filter::kHighPass, Filter::kBandPass, Filter::kNotch})
    for (bool single : {true, false})
      for (int count : {2, 3, 5, 8}) {
        auto configure = [&](Filter& f, int j) {
          f.mode = mode;
          f.singleStage = single;
          f.cutoff = 0.05f + 0.1f * float(j);
          f.resonance = 0.3f + 0.07f * float(j);
          f.inputGain = 0.5f + 0.25f * float(j);
          f.additive = {0, 0.2f};
          f.setBlockSize(n);
          f.output.band = 0.01f * float(j);
          f.first.low = -0.02f * float(j);
        };
        std::vector<Filter> alone(static_cast<size_t>(count)), lanes(static_cast<size_t>(count));
        std::vector<ModulatorList> modulators(static_cast<size_t>(count));
        std::vector<std::vector<float>> signal(static_cast<size_t>(count));
        for (int j = 0; j < count; ++j) {
          configure(alone[size_t(j)], j);
          configure(lanes[size_t(j)], j);
          auto env = std::make_unique<Envelope>();
          env->current = 0.1f * float(j);
          env->next = 0.9f - 0.1f * float(j);
          modulators[size_t(j)].push_back(std::move(env));
          for (int i = 0; i < n; ++i) signal[size_t(j)].push_back(float((i * (j + 3)) % 11) - 5.0f);
        }
        std::vector<std::vector<float>> laneSignal = signal;
        std::vector<Filter*> filters;
        std::vector<float*> buffers;
        std::vector<const ModulatorList*> lists;
        for (int j = 0; j < count; ++j) {
          alone[size_t(j)].process(signal[size_t(j)].data(), modulators[size_t(j)]);
          filters.push_back(&lanes[size_t(j)]);
          buffers.push_back(laneSignal[size_t(j)].data());
          lists.push_back(&modulators[size_t(j)]);
        }
        std::vector<float> spare(size_t(n), 1e30f);
        FilterLanes::process(filters.data(), buffers.data(), lists.data(), count, spare.data());
        for (int j = 0; j < count; ++j) {
          SCOPED_TRACE(testing::Message() << "mode " << mode << " single " << single << " lanes "
                                          << count << " lane " << j);
          EXPECT_TRUE(sameBits(laneSignal[size_t(j)], signal[size_t(j)]));
          EXPECT_TRUE(sameStage(lanes[size_t(j)].output, alone[size_t(j)].output));
          EXPECT_TRUE(sameStage(lanes[size_t(j)].first, alone[size_t(j)].first));
        }
      }
}

TEST(FilterLanes, AChannelMixesItsVoicesAsVoiceByVoice) {
  const int n = 100;
  SynthScratch scratchA, scratchB;
  scratchA.resize(n);
  scratchB.resize(n);
  auto grouped = richChannel(scratchA, n);
  auto single = richChannel(scratchB, n);
  int block = 0;
  // Six voices, then their notes end one by one while the envelopes run out.
  for (int k = 0; k < 6; ++k) {
    grouped->event(0, uint32_t(40 + 5 * k) | 90u << 16);
    single->event(0, uint32_t(40 + 5 * k) | 90u << 16);
  }
  for (; block < 60; ++block) {
    if (block >= 10 && block < 16) {
      grouped->event(1, uint32_t(40 + 5 * (block - 10)));
      single->event(1, uint32_t(40 + 5 * (block - 10)));
    }
    std::vector<float> a(size_t(n), 0.0f), b(size_t(n), 0.0f);
    grouped->render(a.data());
    for (auto& voice : single->layers[0])
      if (voice->active) voice->render(b.data());
    ASSERT_TRUE(sameBits(a, b)) << "block " << block;
  }
  EXPECT_FALSE(grouped->hasActiveVoice());
}
