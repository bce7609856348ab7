#include "synth/ControllerFollower.h"

void ControllerFollower::advance() {
  current = next;
  next = (1.0f - smoothing) * next + smoothing * target;
}

void ControllerFollower::event(int kind, uint32_t value) {
  if (kind == eventKind::kController && (value & 0xFFFF) == controller)
    target = float(value >> 16) * 0.000015259022f;
}
