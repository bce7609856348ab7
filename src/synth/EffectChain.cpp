#include "synth/EffectChain.h"

#include <algorithm>

#include "synth/DataStream.h"

SendEffect* EffectChain::fill(int slot, uint32_t effectType) {
  if (slot < 0 || slot >= kSlots) return nullptr;
  slots[slot].reset();
  slots[slot] = sendEffectKinds().create(effectType);
  // Buffers from the start, so that a chain built in code can render at once.
  if (slots[slot]) slots[slot]->setBlockSize(blockSize);
  return slots[slot].get();
}

void EffectChain::save(DataStream& stream) {
  uint32_t mask = 0;
  for (int s = 0; s < kSlots; ++s)
    if (slots[s]) mask |= 1u << s;
  stream.writeInt(mask, 1);
  for (auto& slot : slots)
    if (slot) saveWithType(*slot, stream);
}

void EffectChain::load(DataStream& stream) {
  const uint32_t mask = stream.readByte();
  for (int s = 0; s < kSlots; ++s) {
    if (stream.failed()) return;
    if (!(mask & (1u << s))) {
      // An absent slot is empty, never left at its construction default.
      slots[s].reset();
      continue;
    }
    SendEffect* effect = fill(s, stream.readByte());
    if (!effect) {
      stream.fail();
      return;
    }
    effect->load(stream);
  }
}

void EffectChain::setBlockSize(int n) {
  SendEffect::setBlockSize(n);
  for (auto& slot : slots)
    if (slot) slot->setBlockSize(n);
  tempLeft_.assign(size_t(std::max(n, 1)), 0.0f);
  tempRight_.assign(size_t(std::max(n, 1)), 0.0f);
}

void EffectChain::update() {
  for (auto& slot : slots)
    if (slot) slot->update();
}

void EffectChain::process(const float* inLeft, const float* inRight, float* outLeft,
                          float* outRight) {
  const size_t n = std::min(size_t(std::max(blockSize, 0)), tempLeft_.size());
  std::fill_n(tempLeft_.data(), n, 0.0f);
  std::fill_n(tempRight_.data(), n, 0.0f);
  SendEffect* present[kSlots];
  int count = 0;
  for (auto& slot : slots)
    if (slot) present[count++] = slot.get();
  float* tl = tempLeft_.data();
  float* tr = tempRight_.data();
  switch (count) {
    case 1:
      present[0]->process(inLeft, inRight, outLeft, outRight);
      break;
    case 2:
      present[0]->process(inLeft, inRight, tl, tr);
      present[1]->process(tl, tr, outLeft, outRight);
      break;
    case 3:
      present[0]->process(inLeft, inRight, tl, tr);
      present[1]->process(tl, tr, tl, tr);
      present[2]->process(tl, tr, outLeft, outRight);
      break;
    default:
      break;
  }
}
