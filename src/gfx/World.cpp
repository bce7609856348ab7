#include "gfx/World.h"

#include "gfx/Camera.h"
#include "gfx/SceneObject.h"
#include "platform/Gl.h"

void World::add(SceneObject* object, Vec3 translation, float angle, Vec3 axis) {
  placements_.push_back(Placement{object, translation, angle, axis});
}

void World::draw() {
  if (!camera_) return;
  glDisable(GL_BLEND);
  camera_->apply();
  drawPass(0);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glDepthMask(GL_FALSE);
  drawPass(1);
  camera_->restore();
}

void World::drawPass(uint8_t pass) {
  for (const Placement& placement : placements_) {
    if (!placement.object) continue;
    glPushMatrix();
    glTranslatef(placement.translation.x, placement.translation.y, placement.translation.z);
    glRotatef(placement.angle, placement.axis.x, placement.axis.y, placement.axis.z);
    placement.object->currentPass = pass;
    placement.object->draw();
    glPopMatrix();
  }
}
