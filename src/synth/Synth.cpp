#include "synth/Synth.h"

#include <algorithm>

#include "synth/Chorus.h"
#include "synth/DataStream.h"
#include "synth/Delay.h"
#include "synth/Parameterized.h"

Synth::Synth() {
  for (int k = 0; k < kChannels; ++k) {
    channels[k] = std::make_unique<SynthChannel>(&scratch_);
    volume[k] = 1.0f;
    pan[k] = 0.5f;
    send1[k] = send2[k] = send3[k] = 0.0f;
  }
  for (auto& bus : buses) {
    bus = std::make_unique<EffectChain>();
    bus->setBlockSize(blockSize_);
  }
  for (auto& buffer : busBuffer_) buffer.assign(1, 0.0f);

  buses[0]->fill(0, moduleType::kChorus);
  static_cast<Delay*>(buses[0]->fill(1, moduleType::kDelay))->dry = 0.0f;
  buses[1]->fill(0, moduleType::kChorus);
  auto* delay = static_cast<Delay*>(buses[2]->fill(0, moduleType::kDelay));
  delay->delayLeft = 64;
  delay->loopLeft = 64;
  delay->wetLeft = 0.5f;
  delay->feedbackLeft = 0.5f;
  delay->delayRight = 32;
  delay->loopRight = 64;
  delay->wetRight = 0.5f;
  delay->feedbackRight = 0.5f;
  delay->dry = 0.0f;
  buses[0]->update();
  buses[2]->update();
}

Synth::~Synth() = default;

void Synth::event(int channel, int kind, uint32_t value) {
  if (channel < 0 || channel >= kChannels) return;
  if (kind == eventKind::kController)
    value = (value & 0xFFFF) | (((value >> 16) << 8) & 0xFFFF) << 16;
  channels[channel]->event(kind, value);
}

void Synth::setBlockSize(int n) {
  if (n == blockSize_) return;
  blockSize_ = n;
  scratch_.resize(n);
  for (auto& buffer : busBuffer_) buffer.assign(size_t(std::max(n, 1)), 0.0f);
  for (auto& channel : channels) channel->setBlockSize(n);
  for (auto& bus : buses) bus->setBlockSize(n);
}

void Synth::render(float* left, float* right) {
  const int n = blockSize_;
  std::fill_n(left, n, 0.0f);
  std::fill_n(right, n, 0.0f);
  for (auto& buffer : busBuffer_) std::fill_n(buffer.data(), n, 0.0f);
  const float* sends[kBuses] = {send1, send2, send3};
  float* mix = scratch_.channelMix.data();

  // Only the first eight channels are heard.
  for (int k = 0; k < kRenderedChannels; ++k) {
    SynthChannel& channel = *channels[k];
    if (!channel.hasActiveVoice()) continue;
    std::fill_n(mix, n, 0.0f);
    channel.render(mix);
    const float v = volume[k];
    for (int b = 0; b < kBuses; ++b) {
      const float s = sends[b][k];
      if (s == 0.0f) continue;
      float* bus = busBuffer_[b].data();
      for (int i = 0; i < n; ++i) bus[i] += v * s * mix[i];
    }
    const float p = pan[k];
    for (int i = 0; i < n; ++i) {
      left[i] += (1.0f - p) * v * mix[i];
      right[i] += p * v * mix[i];
    }
  }
  for (int b = 0; b < kBuses; ++b)
    buses[b]->process(busBuffer_[b].data(), busBuffer_[b].data(), left, right);
  for (int i = 0; i < n; ++i) {
    if (left[i] > 1.0f) left[i] = 1.0f;
    if (left[i] < -1.0f) left[i] = -1.0f;
    if (right[i] > 1.0f) right[i] = 1.0f;
    if (right[i] < -1.0f) right[i] = -1.0f;
  }
}

void Synth::save(DataStream& stream) {
  stream.writeInt(kStartMarker, 4);
  for (auto& channel : channels) channel->save(stream);
  for (int k = 0; k < kChannels; ++k) describeStrip(ParameterWriter{stream}, k, *this);
  for (auto& bus : buses) bus->save(stream);
  stream.writeInt(kEndMarker, 4);
}

bool Synth::loadSetup(DataStream& stream) {
  stream.readInt(4);  // the start marker is not checked
  uint32_t voicesLeft = SynthChannel::kMaxLoadedVoices;
  for (auto& channel : channels) {
    channel->load(stream, voicesLeft);
    if (stream.failed()) return false;
  }
  for (int k = 0; k < kChannels; ++k) describeStrip(ParameterReader{stream}, k, *this);
  for (auto& bus : buses) {
    bus->load(stream);
    if (stream.failed()) return false;
  }
  // Everything loaded gets buffers of the playback size, even when the
  // synthesizer already had that size (a second load).
  blockSize_ = 0;
  setBlockSize(500);
  const uint32_t marker = stream.readInt(4);
  return !stream.failed() && marker == kEndMarker;
}
