// The perspective camera a scene views its world through: rotate-and-translate
// by default, look-at once lookAt has been called. Callers write the public
// fields directly.
#pragma once

#include "gfx/Vec3.h"

class Camera {
 public:
  Camera() = default;
  virtual ~Camera() = default;

  // Stores the three vectors and switches to look-at mode for good.
  void lookAt(const Vec3& eye, const Vec3& center, const Vec3& up);
  // Pushes the projection (fov, aspect 4/3, near 0.1, far 100) and the
  // modelview, then multiplies the view onto the caller's modelview. Leaves
  // the modelview mode current. Pair with restore() within the frame.
  void apply() const;
  // Pops what apply() pushed; the modelview mode is current afterwards.
  void restore() const;

  Vec3 position{0, 0, 0};  // applied after the rotation, with its own sign
  Vec3 axis{0, 0, 0};
  float angle = 0.0f;  // degrees, applied negated
  float fov = 90.0f;   // vertical, degrees
  bool lookAtMode = false;
  Vec3 eye;
  Vec3 center;
  Vec3 up;
};
