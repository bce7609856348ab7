#include "gfx/ParticleSystem.h"

#include <cstddef>

#include "gfx/GeometryOutput.h"

ParticleSystem::ParticleSystem(int particleCount)
    : particles(size_t(particleCount > 0 ? particleCount : 0)), count(int(particles.size())) {
  pass = 1;
  currentPass = 1;
}

void ParticleSystem::render() {
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
  // The first two rows of the rotation part: the viewer's x and y axes in
  // object space, scaled as the modelview scales.
  right = Vec3(modelview[0], modelview[4], modelview[8]);
  up = Vec3(modelview[1], modelview[5], modelview[9]);
  corners[0] = Vec3(0, 0, 0).sub(right).sub(up);
  corners[1] = right.sub(up);
  corners[2] = right.add(up);
  corners[3] = Vec3(0, 0, 0).sub(right).add(up);
  glPushMatrix();
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, envMode);
  glDisable(GL_FOG);
  glDepthMask(GL_FALSE);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  if (geometryOutput::enabled()) emitQuads();
  glPopMatrix();
  glPopAttrib();
}

void ParticleSystem::emitQuads() const {
  static const float kTexCoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  glBegin(GL_QUADS);
  for (const Particle& p : particles) {
    if (!p.alive) continue;
    glColor4f(p.color.red, p.color.green, p.color.blue, p.color.alpha);
    const float half = p.size * 0.5f;
    for (int c = 0; c < 4; ++c) {
      const Vec3 v = p.position.add(corners[c].scale(half));
      glTexCoord2f(kTexCoords[c][0], kTexCoords[c][1]);
      glVertex3f(v.x, v.y, v.z);
    }
  }
  glEnd();
}
