// Picture generator: the geometry of a stylised bust, as signed distance
// functions in head units (origin at the middle of the head, y downwards,
// the head spanning about -1 to 1). Body parts live in picture coordinates;
// the head and everything on it in head coordinates, which follow the
// person's tilt. PortraitPainter colours and lights these shapes.
#pragma once

#include "Person.h"
#include "Sdf.h"

namespace picgen {

class Bust {
 public:
  explicit Bust(const Person& person);

  // Picture coordinates to head coordinates (undoes the tilt about the neck).
  Vec2 toHead(Vec2 q) const;

  float torso(Vec2 q) const;
  float neck(Vec2 q) const;
  float head(Vec2 h) const;
  float ears(Vec2 h) const;
  // Hair behind the head (long hair, curls) and over it (cap and fringe);
  // a large value where a style has none.
  float hairBack(Vec2 h) const;
  float hairFront(Vec2 h) const;
  float beard(Vec2 h) const;
  // Accessories: glasses rims (lenses inside `lens`), headphone band and
  // cups, earrings.
  float glassesFrame(Vec2 h) const;
  float glassesLens(Vec2 h) const;
  float headphones(Vec2 h) const;
  float earrings(Vec2 h) const;
  // Collar trim and hood around the neck, hoodie strings.
  float collar(Vec2 q) const;

  // Eye of side s (-1 left, +1 right): local coordinates with the outer
  // corner towards +x, and the eye's parts in them.
  Vec2 eyeLocal(Vec2 h, float side) const;
  float eyeOpening(Vec2 e) const;  // the almond
  float upperLid(Vec2 e) const;    // distance to the upper lid's arc
  float crease(Vec2 e) const;      // the fold above the lid
  Vec2 irisCentre(float side) const;
  float irisRadius() const { return 0.058f * person_.eyeSize; }
  float brow(Vec2 h, float side) const;
  float upperLip(Vec2 h) const;
  float lowerLip(Vec2 h) const;
  float mouthLine(Vec2 h) const;
  float nostrils(Vec2 h) const;
  float noseLine(Vec2 h) const;

  const Person& person() const { return person_; }

 private:
  float almondA() const { return 0.15f * person_.eyeSize; }
  float almondB() const { return 0.068f * person_.eyeSize; }
  float almondR() const;

  Person person_;
  float tiltCos_;
  float tiltSin_;
};

}  // namespace picgen
