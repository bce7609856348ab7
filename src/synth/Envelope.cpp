#include "synth/Envelope.h"

float Envelope::levelAt(uint32_t s) const {
  const uint32_t a = attack, d = decay, r = release;
  if (gate) {
    if (s < a) {
      float x = float(s) / float(a);
      return x + (1.0f - x) * attackStart;
    }
    if (s < a + d) return 1.0f - (1.0f - sustain) * float(s - a) / float(d);
    if (hold) return sustain;
    if (s < a + d + r) return (1.0f - float(s - a - d) / float(r)) * sustain;
    return 0.0f;
  }
  if (s < r + releaseStep) return releaseLevel - releaseLevel * float(s - releaseStep) / float(r);
  return 0.0f;
}

float Envelope::velocityFactor() const {
  const float v = velocitySens;
  if (v == 0.0f) return 1.0f;
  if (v > 0.0f) return v * velocity + (1.0f - v);
  if (v < 0.0f) return v * velocity + v + 2.0f;
  return 1.0f;  // NaN sensitivity: leave the level alone
}

void Envelope::advance() {
  const float f = velocityFactor();
  stageLevel = levelAt(step);
  current = f * stageLevel;
  ++step;
  stageLevel = levelAt(step);
  lastLevel = stageLevel;
  next = f * stageLevel;
}

void Envelope::event(int kind, uint32_t value) {
  if (kind == eventKind::kNoteOn) {
    stageLevel = 0.0f;
    current = 0.0f;
    next = 0.0f;
    step = 0;
    gate = true;
    const float newVelocity = float(value >> 16) * 0.003921569f;
    // A retrigger starts the attack from the loudness reached, compensated for
    // the new velocity; a silent note-on has nothing to compensate against.
    attackStart = newVelocity != 0.0f ? velocity * lastLevel / newVelocity : 0.0f;
    velocity = newVelocity;
  } else if (kind == eventKind::kNoteOff) {
    gate = false;
    releaseStep = step;
    releaseLevel = stageLevel;
  }
}
