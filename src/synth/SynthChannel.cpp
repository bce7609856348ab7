#include "synth/SynthChannel.h"

#include "synth/DataStream.h"
#include "synth/VoiceGroup.h"

SynthChannel::SynthChannel(SynthScratch* scratch) : scratch_(scratch) {
  addLayer(kDefaultVoices);
}

Voice* SynthChannel::addLayer(uint8_t count) {
  layers.emplace_back();
  voiceCount.push_back(0);
  stamps.emplace_back();
  ++layerCount;
  growLayer(layers.size() - 1, count);
  return count ? layers.back()[0].get() : nullptr;
}

void SynthChannel::clearLayers() {
  layers.clear();
  voiceCount.clear();
  stamps.clear();
  layerCount = 0;
}

void SynthChannel::copyFirstVoices() {
  for (auto& voices : layers)
    for (size_t j = 1; j < voices.size(); ++j) voices[j]->copyFrom(*voices[0]);
}

void SynthChannel::event(int kind, uint32_t value) {
  for (size_t l = 0; l < layers.size(); ++l) {
    auto& voices = layers[l];
    if (kind != eventKind::kNoteOn) {
      for (auto& voice : voices) voice->event(kind, value);
      continue;
    }
    const uint32_t n = uint32_t(voices.size());
    // Layers are built through addLayer, which keeps the stamps beside them.
    if (n == 0 || l >= stamps.size() || stamps[l].size() < n) continue;
    // A free voice if there is one, else the one whose stamp equals the
    // counter; a voice outside the note's key range still counts as taken.
    uint32_t chosen = n;
    for (uint32_t j = 0; j < n && chosen == n; ++j)
      if (!voices[j]->active) chosen = j;
    for (uint32_t j = 0; j < n && chosen == n; ++j)
      if (stamps[l][j] == allocationCounter) chosen = j;
    if (chosen == n) continue;
    voices[chosen]->event(kind, value);
    allocationCounter = (allocationCounter + 1) % n;
    stamps[l][chosen] = allocationCounter;
  }
}

void SynthChannel::render(float* mix) {
  for (auto& voices : layers) {
    if (!scratch_) {
      for (auto& voice : voices)
        if (voice->active) voice->render(mix);
      continue;
    }
    VoiceGroup group(*scratch_, mix);
    for (auto& voice : voices)
      if (voice->active) group.add(*voice);
    group.finish();
  }
  if (insertPresent) insert.process(mix);
}

bool SynthChannel::hasActiveVoice() const {
  for (auto& voices : layers)
    for (auto& voice : voices)
      if (voice->active) return true;
  return false;
}

void SynthChannel::setBlockSize(int n) {
  blockSize = n;
  for (auto& voices : layers)
    for (auto& voice : voices) voice->setBlockSize(n);
  insert.setBlockSize(n);
}

void SynthChannel::save(DataStream& stream) {
  stream.writeInt(uint32_t(layers.size()), 1);
  for (auto& voices : layers) stream.writeInt(uint32_t(voices.size()), 1);
  for (auto& voices : layers) {
    if (!voices.empty()) {
      voices[0]->save(stream);
    } else {
      Voice placeholder;  // an empty layer still has its record
      placeholder.save(stream);
    }
  }
  stream.writeInt(insertPresent ? 1 : 0, 1);
  if (insertPresent) saveWithType(insert, stream);
}

void SynthChannel::load(DataStream& stream) {
  uint32_t voicesLeft = kMaxLoadedVoices;
  load(stream, voicesLeft);
}

void SynthChannel::load(DataStream& stream, uint32_t& voicesLeft) {
  const uint32_t count = stream.readByte();
  clearLayers();
  uint8_t counts[256];
  uint32_t voices = 0;
  for (uint32_t l = 0; l < count; ++l) voices += counts[l] = stream.readByte();
  if (voices > voicesLeft) stream.fail();
  if (stream.failed()) return;
  voicesLeft -= voices;
  // Every voice of a layer is a copy of its one stored record. The copies are
  // made once the whole channel has loaded, so that a damaged file costs no
  // more than the records it really holds.
  for (uint32_t l = 0; l < count; ++l) {
    Voice* first = addLayer(counts[l] ? 1 : 0);
    if (first) {
      first->load(stream);
    } else {
      // An empty layer's record is read and dropped, so the stream stays
      // aligned.
      Voice discarded(nullptr);
      discarded.load(stream);
    }
    if (stream.failed()) return;
  }
  insertPresent = stream.readByte() == 1;
  if (insertPresent) {
    stream.readByte();  // the insert's type byte, always a waveshaper
    insert.load(stream);
  }
  if (stream.failed()) return;
  for (uint32_t l = 0; l < count; ++l) growLayer(l, counts[l]);
  copyFirstVoices();
}

void SynthChannel::growLayer(size_t layer, uint8_t count) {
  auto& voices = layers[layer];
  while (voices.size() < count) {
    voices.push_back(std::make_unique<Voice>(scratch_));
    voices.back()->setBlockSize(blockSize);
  }
  voiceCount[layer] = count;
  stamps[layer].assign(count, 0u);
}
