#include "gfx/Camera.h"

#include "platform/Gl.h"

void Camera::lookAt(const Vec3& eyePoint, const Vec3& centerPoint, const Vec3& upVector) {
  eye = eyePoint;
  center = centerPoint;
  up = upVector;
  lookAtMode = true;
}

void Camera::apply() const {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  // The aspect is 4/3 whatever the window; the near plane is the float 0.1.
  gluPerspective(double(fov), 1.3333333333333333, double(0.1f), 100.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  if (lookAtMode) {
    gluLookAt(eye.x, eye.y, eye.z, center.x, center.y, center.z, up.x, up.y, up.z);
  } else {
    glRotatef(-angle, axis.x, axis.y, axis.z);
    glTranslatef(position.x, position.y, position.z);
  }
}

void Camera::restore() const {
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}
