// Glows, sparks, swarms and ribbons: a fixed array of particles, each drawn
// as a textured square facing the viewer and added onto the picture. Belongs
// to the additive pass from the start.
#pragma once

#include <vector>

#include "gfx/Particle.h"
#include "gfx/SceneObject.h"

class ParticleSystem : public SceneObject {
 public:
  // count default particles (none alive); pass and currentPass 1.
  explicit ParticleSystem(int count);

  // All live particles in one GL_QUADS primitive, additively, depth test on
  // and depth writes off. The corners follow the current modelview (scales
  // included), so the squares face the viewer.
  void render() override;

  std::vector<Particle> particles;
  int count;
  float envMode = float(GL_DECAL);  // texture environment; scenes set GL_MODULATE
  float modelview[16] = {};
  Vec3 right;
  Vec3 up;
  Vec3 corners[4];

 private:
  // The live particles as one GL_QUADS primitive, under the state render set.
  void emitQuads() const;
};
