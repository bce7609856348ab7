#include "synth/ControllerFollower.h"

#include "synth/DataStream.h"

void ControllerFollower::save(DataStream& stream) {
  stream.writeInt(type, 1);
  stream.writeFloat(smoothing);
  stream.writeInt(controller, 1);
}

void ControllerFollower::load(DataStream& stream) {
  smoothing = stream.readFloat();
  controller = stream.readByte();
}

void ControllerFollower::copyParametersFrom(const Modulator& other) {
  const auto& o = static_cast<const ControllerFollower&>(other);
  smoothing = o.smoothing;
  controller = o.controller;
}

void ControllerFollower::advance() {
  current = next;
  next = (1.0f - smoothing) * next + smoothing * target;
}

void ControllerFollower::event(int kind, uint32_t value) {
  if (kind == eventKind::kController && (value & 0xFFFF) == controller)
    target = float(value >> 16) * 0.000015259022f;
}
