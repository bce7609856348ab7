// The synthesizer: 16 channels, a mixer with volume, pan and three send
// levels per channel, and three send buses ending in effect chains.
//
// How to use: construct; load a set-up (usually through loadSong) or build
// one through the public fields; then, between renders, send events and set
// the block size; every render call produces the next blockSize frames.
//
//   Synth synth;
//   auto song = loadSong(synth, image, size).song;
//   synth.setBlockSize(samplesPerTickFor(*song));
//   synth.event(0, eventKind::kNoteOn, note | velocity << 16);
//   synth.render(left, right);
//
// Glossary: a layer is a set of identical voices of a channel; a block is the
// frames of one render call (one sequencer tick during playback); a step of a
// modulator lasts one block. Only channels 0 to 7 are heard.
//
// Render allocates nothing and takes no lock; all calls after loading must
// come from the one thread that renders (set DenormalGuard on it).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "synth/EffectChain.h"
#include "synth/Parameter.h"
#include "synth/SynthChannel.h"
#include "synth/SynthScratch.h"

class Synth : public SynthModule {
 public:
  static constexpr int kChannels = 16;
  static constexpr int kRenderedChannels = 8;
  static constexpr int kBuses = 3;
  static constexpr uint32_t kStartMarker = 0x544E532B;  // "+SNT"
  static constexpr uint32_t kEndMarker = 0x544E532D;    // "-SNT"

  Synth();
  ~Synth() override;

  // Fills left and right with the next blockSize frames, clipped to [-1, 1].
  void render(float* left, float* right);
  // channel 0 to 15 (others are ignored); kind: eventKind. Controller events
  // carry the value 0 to 255 in bits 16 to 23; modules receive it x 256.
  using SynthModule::event;
  void event(int channel, int kind, uint32_t value);
  void setBlockSize(int n);
  int blockSize() const { return blockSize_; }

  // The set-up section ("+SNT" ... "-SNT"). A failed load marks the stream
  // failed.
  void save(DataStream& stream) override;
  void load(DataStream& stream) override { loadSetup(stream); }
  // load, saying whether the set-up ended in the end marker "-SNT"; a set-up
  // without it is loaded all the same (a failed stream says more).
  bool loadSetup(DataStream& stream);

  // A channel's mixer strip, as the set-up's mixer records store it after
  // the channels (Parameter.h); MixerStrip.h reaches it by index.
  template <class Visit, class... Self>
  static void describeStrip(Visit&& visit, int channel, Self&... synth) {
    static_cast<void>(channel);  // unused when only the names are asked for
    visit(param::real("volume", 0.0f, 8.0f), synth.volume[channel]...);
    visit(param::real("pan", 0.0f, 1.0f), synth.pan[channel]...);
    visit(param::real("send1", 0.0f, 1.0f), synth.send1[channel]...);
    visit(param::real("send2", 0.0f, 1.0f), synth.send2[channel]...);
    visit(param::real("send3", 0.0f, 1.0f), synth.send3[channel]...);
  }

  std::unique_ptr<SynthChannel> channels[kChannels];
  float volume[kChannels];
  float pan[kChannels];
  float send1[kChannels];
  float send2[kChannels];
  float send3[kChannels];
  std::unique_ptr<EffectChain> buses[kBuses];

 private:
  std::vector<float> busBuffer_[kBuses];
  int32_t blockSize_ = 1;
  SynthScratch scratch_;
};
