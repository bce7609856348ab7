// One of the synthesizer's 16 channels: layers of identical voices that share
// the channel's note-ons by round-robin allocation, and an optional insert
// waveshaper on the channel's sum.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "synth/Voice.h"
#include "synth/Waveshaper.h"

struct SynthScratch;

class SynthChannel : public SynthModule {
 public:
  static constexpr int kMaxLayers = 255;
  static constexpr int kDefaultVoices = 8;
  // The most voices one load builds over all channels. The format allows 16
  // x 255 x 255; a song plays a few hundred at most, and a hostile file asking
  // for a million copies would exhaust memory rather than fail.
  static constexpr uint32_t kMaxLoadedVoices = 16384;

  explicit SynthChannel(SynthScratch* scratch = nullptr);

  // A layer as a song source writes it: its polyphony, then its voices' key
  // range (Parameter.h). The set-up record stores the count with the
  // channel's and the key range with the voice.
  template <class Visit>
  static void describeLayer(Visit&& visit, uint8_t& voices, Voice& voice) {
    visit(param::integer("voices", 1, 255), voices);
    Voice::describe(visit, voice);
  }

  void save(DataStream& stream) override;
  void load(DataStream& stream) override;
  // As load, but a channel whose layers ask for more than voicesLeft voices
  // fails the stream before it builds any; voicesLeft then drops by the
  // channel's voices.
  void load(DataStream& stream, uint32_t& voicesLeft);
  void event(int kind, uint32_t value) override;

  // Adds the active voices into mix, then runs the insert over it.
  void render(float* mix);
  bool hasActiveVoice() const;
  void setBlockSize(int n);

  // Adds a layer of voiceCount default voices; returns its first voice (null
  // for an empty layer).
  Voice* addLayer(uint8_t voiceCount);
  // Removes every layer.
  void clearLayers();
  // Makes voices 1 and up of every layer copies of the layer's voice 0.
  void copyFirstVoices();

  // Build and clear layers through addLayer and clearLayers, which keep these
  // four in step.
  uint8_t layerCount = 0;
  std::vector<uint8_t> voiceCount;                          // per layer
  std::vector<std::vector<std::unique_ptr<Voice>>> layers;  // voiceCount[l] voices each
  uint32_t allocationCounter = 0;
  std::vector<std::vector<uint32_t>> stamps;  // per layer and voice
  bool insertPresent = false;
  Waveshaper insert;
  int32_t blockSize = 1;

 private:
  // Adds default voices to a layer until it holds count.
  void growLayer(size_t layer, uint8_t count);

  SynthScratch* scratch_;
};
