#include "Bust.h"

#include <algorithm>
#include <cmath>

namespace picgen {
namespace {

constexpr float kNone = 1e3f;  // "no such part here"
constexpr Vec2 kPivot(0.0f, 0.9f);  // the head tilts about the top of the neck

// A tapering stroke through points, its thickness given per point.
template <size_t N>
float stroke(Vec2 p, const Vec2 (&pts)[N], const float (&radius)[N]) {
  float best = kNone;
  for (size_t i = 0; i + 1 < N; ++i) {
    float t = 0.0f;
    float d = segmentDistance(p, pts[i], pts[i + 1], &t);
    best = std::min(best, d - mixf(radius[i], radius[i + 1], t));
  }
  return best;
}

float ring(float d, float halfWidth) { return std::fabs(d) - halfWidth; }

}  // namespace

Bust::Bust(const Person& person)
    : person_(person), tiltCos_(fcos(person.tilt)), tiltSin_(fsin(person.tilt)) {}

Vec2 Bust::toHead(Vec2 q) const { return rotate(q, kPivot, tiltCos_, -tiltSin_); }

float Bust::torso(Vec2 q) const {
  // Shoulders: a wide ellipse whose top meets the base of the neck.
  float shoulders = sdEllipse(q, Vec2(0.0f, 2.17f), 1.74f, 1.0f);
  float chest = sdEllipse(q, Vec2(0.0f, 1.97f), 1.1f, 0.9f);
  return smoothUnion(shoulders, chest, 0.2f);
}

float Bust::neck(Vec2 q) const {
  float flare = 0.10f * smoothstep(0.85f, 1.25f, q.y);
  return sdBox(q, Vec2(0.0f, 0.88f), Vec2(0.28f, 0.48f), 0.12f) - flare;
}

float Bust::head(Vec2 h) const {
  float cranium = sdEllipse(h, Vec2(0.0f, -0.2f), 0.75f * person_.headWidth, 0.80f);
  float jaw = sdEllipse(h, Vec2(0.0f, 0.27f), 0.60f * person_.jawWidth, 0.71f);
  return smoothUnion(cranium, jaw, 0.18f);
}

float Bust::ears(Vec2 h) const {
  float x = 0.70f * person_.headWidth;
  return std::min(sdEllipse(h, Vec2(-x, 0.12f), 0.11f, 0.19f),
                  sdEllipse(h, Vec2(x, 0.12f), 0.11f, 0.19f));
}

float Bust::hairBack(Vec2 h) const {
  float hw = person_.headWidth;
  switch (person_.hairStyle) {
    case Person::Hair::Long: {
      // Waves: the outline sways sideways as it falls.
      Vec2 w(h.x + 0.045f * fsin(6.5f * h.y + 0.7f), h.y);
      float top = sdEllipse(w, Vec2(0.0f, -0.22f), 0.93f * hw, 0.93f);
      // Falls behind the shoulders, narrowing, and ends in wavy tips.
      float halfWidth = 0.92f - 0.10f * clamp01(h.y);
      float fall = std::max(std::fabs(w.x) - halfWidth, -0.2f - h.y);
      float tips = h.y - (1.55f + 0.09f * fsin(9.0f * h.x + 1.0f) - 0.25f * h.x * h.x);
      return smoothUnion(top, std::max(fall, tips), 0.25f);
    }
    case Person::Hair::Curls: {
      Vec2 c(0.0f, -0.32f);
      Vec2 d = h - c;
      float a = fatan2(d.y, d.x);
      float r = 1.10f + 0.05f * fsin(13.0f * a) + 0.035f * fsin(21.0f * a + 2.0f) +
                0.02f * fsin(34.0f * a + 1.0f);
      float cloud = (Vec2(d.x / hw, d.y * 1.04f).length() - r) * 0.95f;
      // Cut off below the ears, rounded.
      return std::max(cloud, h.y - 0.42f - 0.1f * d.x * d.x);
    }
    default:
      return kNone;
  }
}

float Bust::hairFront(Vec2 h) const {
  float hw = person_.headWidth;
  float side = std::fabs(h.x);
  switch (person_.hairStyle) {
    case Person::Hair::Crop: {
      float cap = sdEllipse(h, Vec2(0.0f, -0.27f), 0.81f * hw, 0.81f);
      // Swept to one side, with short sideburns over the temples.
      float hairline = -0.50f + 0.10f * h.x + 0.03f * fsin(14.0f * h.x) +
                       0.52f * smoothstep(0.50f, 0.74f, side);
      return std::max(cap, h.y - hairline);
    }
    case Person::Hair::Spiky: {
      Vec2 c(0.0f, -0.26f);
      Vec2 d = h - c;
      float a = fatan2(d.y, d.x);
      float up = smoothstep(0.0f, -0.45f, h.y);  // spikes only on top
      float spikes = 0.21f * fpow(std::fabs(fsin(6.0f * a + 0.6f)), 2.5f) * up;
      float cap = Vec2(d.x / hw, d.y).length() - (0.81f + spikes);
      float hairline = -0.47f + 0.07f * std::fabs(fsin(11.0f * h.x + 0.5f)) +
                       0.45f * smoothstep(0.52f, 0.74f, side);
      return std::max(cap, h.y - hairline);
    }
    case Person::Hair::Long: {
      float cap = sdEllipse(h, Vec2(0.0f, -0.26f), 0.83f * hw, 0.83f);
      // Parted a little off the middle; locks frame the face down to the jaw.
      float part = h.x - 0.1f;
      float hairline = -0.68f + 0.95f * part * part + 1.7f * smoothstep(0.50f, 0.66f, side);
      // Tapering locks that frame the face, swaying like the rest.
      Vec2 w(std::fabs(h.x) + 0.03f * fsin(7.0f * h.y), h.y);
      const Vec2 lock[] = {Vec2(0.66f, -0.45f), Vec2(0.70f, 0.2f), Vec2(0.76f, 0.75f),
                           Vec2(0.80f, 1.15f)};
      const float width[] = {0.17f, 0.15f, 0.11f, 0.03f};
      float locks = stroke(w, lock, width);
      return std::min(std::max(cap, h.y - hairline), locks);
    }
    case Person::Hair::Curls: {
      float cap = sdEllipse(h, Vec2(0.0f, -0.28f), 0.80f * hw, 0.80f);
      float hairline = -0.46f + 0.035f * fsin(23.0f * h.x) +
                       0.40f * smoothstep(0.55f, 0.75f, side);
      return std::max(cap, h.y - hairline);
    }
  }
  return kNone;
}

float Bust::beard(Vec2 h) const {
  if (!person_.beard) return kNone;
  // Below a curve from the sideburns down over the cheeks to the lip.
  float edge = 0.47f - 0.70f * h.x * h.x;
  float jaw = std::max(head(h) - 0.012f, edge - h.y);
  float moustache = sdEllipse(h, Vec2(0.0f, 0.535f), 0.19f, 0.048f);
  float beard = std::min(jaw, moustache);
  float mouth = sdEllipse(h, Vec2(0.0f, 0.61f), 0.12f * person_.mouthWidth, 0.04f);
  return std::max(beard, -mouth);
}

float Bust::glassesFrame(Vec2 h) const {
  if (!person_.glasses) return kNone;
  float es = person_.eyeSpacing;
  float rims = std::min(ring(sdBox(h, Vec2(-es, 0.06f), Vec2(0.165f, 0.105f), 0.07f), 0.017f),
                        ring(sdBox(h, Vec2(es, 0.06f), Vec2(0.165f, 0.105f), 0.07f), 0.017f));
  float bridge = segmentDistance(h, Vec2(-es + 0.165f, 0.035f), Vec2(es - 0.165f, 0.035f)) - 0.015f;
  float armL = segmentDistance(h, Vec2(-es - 0.165f, 0.02f), Vec2(-0.70f, 0.0f)) - 0.015f;
  float armR = segmentDistance(h, Vec2(es + 0.165f, 0.02f), Vec2(0.70f, 0.0f)) - 0.015f;
  return std::min(std::min(rims, bridge), std::min(armL, armR));
}

float Bust::glassesLens(Vec2 h) const {
  if (!person_.glasses) return kNone;
  float es = person_.eyeSpacing;
  return std::min(sdBox(h, Vec2(-es, 0.06f), Vec2(0.165f, 0.105f), 0.07f),
                  sdBox(h, Vec2(es, 0.06f), Vec2(0.165f, 0.105f), 0.07f));
}

float Bust::headphones(Vec2 h) const {
  if (!person_.headphones) return kNone;
  float band = ring(sdCircle(h, Vec2(0.0f, -0.28f), 1.17f), 0.055f);
  band = std::max(band, h.y + 0.02f);
  float cups = std::min(sdBox(h, Vec2(-1.03f, 0.1f), Vec2(0.15f, 0.27f), 0.12f),
                        sdBox(h, Vec2(1.03f, 0.1f), Vec2(0.15f, 0.27f), 0.12f));
  return std::min(band, cups);
}

float Bust::earrings(Vec2 h) const {
  if (!person_.earrings) return kNone;
  float x = 0.70f * person_.headWidth;
  float hoops = std::min(ring(sdCircle(h, Vec2(-x, 0.40f), 0.075f), 0.012f),
                         ring(sdCircle(h, Vec2(x, 0.40f), 0.075f), 0.012f));
  float drops = std::min(sdCircle(h, Vec2(-x, 0.49f), 0.024f), sdCircle(h, Vec2(x, 0.49f), 0.024f));
  return std::min(hoops, drops);
}

float Bust::collar(Vec2 q) const {
  float around = ring(neck(q) - 0.05f, 0.045f);
  if (!person_.hoodie) return std::max(around, 1.08f - q.y);
  float hood = ring(sdEllipse(q, Vec2(0.0f, 1.24f), 0.62f, 0.22f), 0.07f);
  const Vec2 left[] = {Vec2(-0.13f, 1.37f), Vec2(-0.15f, 1.62f), Vec2(-0.13f, 1.87f)};
  const Vec2 right[] = {Vec2(0.13f, 1.37f), Vec2(0.16f, 1.6f), Vec2(0.15f, 1.82f)};
  const float width[] = {0.016f, 0.016f, 0.02f};
  float strings = std::min(stroke(q, left, width), stroke(q, right, width));
  return std::min(std::max(hood, 1.08f - q.y), strings);
}

Vec2 Bust::eyeLocal(Vec2 h, float side) const {
  Vec2 e(h.x - side * person_.eyeSpacing, h.y - 0.05f);
  e.x *= side;
  // The outer corner sits a little higher.
  return rotate(e, Vec2(0.0f, 0.0f), fcos(0.09f), fsin(0.09f));
}

float Bust::almondR() const {
  float a = almondA(), b = almondB();
  return (a * a + b * b) / (2.0f * b);
}

float Bust::eyeOpening(Vec2 e) const {
  float r = almondR(), b = almondB();
  return std::max(sdCircle(e, Vec2(0.0f, r - b), r), sdCircle(e, Vec2(0.0f, b - r), r));
}

float Bust::upperLid(Vec2 e) const {
  float r = almondR(), b = almondB();
  float arc = std::fabs(sdCircle(e, Vec2(0.0f, r - b), r));
  // Only the upper arc, fading out past the corners.
  return std::max(arc, std::fabs(e.x) - almondA() * 1.02f);
}

float Bust::crease(Vec2 e) const {
  float r = almondR() * 1.1f, b = almondB() + 0.04f;
  float arc = std::fabs(sdCircle(e, Vec2(0.01f, r - b), r));
  arc = std::max(arc, e.y + almondB());  // only the fold above the lid
  return std::max(arc, std::fabs(e.x - 0.01f) - almondA() * 0.85f);
}

Vec2 Bust::irisCentre(float side) const {
  return Vec2(side * person_.eyeSpacing + person_.gaze * almondA(), 0.05f);
}

float Bust::brow(Vec2 h, float side) const {
  Vec2 e(side * (h.x - side * person_.eyeSpacing), h.y - 0.05f + person_.browLift);
  const Vec2 pts[] = {Vec2(-0.14f, -0.17f), Vec2(-0.02f, -0.215f), Vec2(0.09f, -0.22f),
                      Vec2(0.17f, -0.18f)};
  const float width[] = {0.032f, 0.030f, 0.022f, 0.010f};
  return stroke(e, pts, width);
}

float Bust::upperLip(Vec2 h) const {
  float mw = person_.mouthWidth;
  float lip = sdEllipse(h, Vec2(0.0f, 0.588f), 0.15f * mw, 0.03f);
  float notch = sdCircle(h, Vec2(0.0f, 0.548f), 0.02f);
  return std::max(lip, -notch);
}

float Bust::lowerLip(Vec2 h) const {
  return sdEllipse(h, Vec2(0.0f, 0.628f), 0.125f * person_.mouthWidth, 0.043f);
}

float Bust::mouthLine(Vec2 h) const {
  float mw = person_.mouthWidth;
  float s = person_.smile;
  const Vec2 pts[] = {Vec2(-0.16f * mw, 0.598f - s), Vec2(-0.06f, 0.604f), Vec2(0.0f, 0.607f),
                      Vec2(0.06f, 0.604f), Vec2(0.16f * mw, 0.598f - s)};
  const float width[] = {0.004f, 0.008f, 0.008f, 0.008f, 0.004f};
  return stroke(h, pts, width);
}

float Bust::nostrils(Vec2 h) const {
  return std::min(sdEllipse(h, Vec2(-0.052f, 0.398f), 0.027f, 0.013f),
                  sdEllipse(h, Vec2(0.052f, 0.398f), 0.027f, 0.013f));
}

float Bust::noseLine(Vec2 h) const {
  const Vec2 pts[] = {Vec2(-0.095f, 0.365f), Vec2(-0.075f, 0.405f), Vec2(-0.03f, 0.418f),
                      Vec2(0.03f, 0.418f), Vec2(0.075f, 0.405f), Vec2(0.095f, 0.365f)};
  const float width[] = {0.002f, 0.006f, 0.004f, 0.004f, 0.006f, 0.002f};
  return stroke(h, pts, width);
}

}  // namespace picgen
