// One billboard of a ParticleSystem; the owning scene rewrites it each frame.
#pragma once

#include "gfx/Color.h"
#include "gfx/Vec3.h"

struct Particle {
  float size = 0.0f;  // edge length of the square
  Vec3 position{0, 0, 0};
  Color color{1, 1, 1, 1};
  bool alive = false;  // only live particles are drawn
};
