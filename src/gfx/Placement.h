// One entry of a World: an object (not owned) and where it stands.
#pragma once

#include "gfx/Vec3.h"

class SceneObject;

struct Placement {
  SceneObject* object = nullptr;
  Vec3 translation{0, 0, 0};
  float angle = 0.0f;  // degrees
  Vec3 axis{0, 0, 0};
};
