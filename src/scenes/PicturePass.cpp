#include "scenes/PicturePass.h"

#include "gfx/Texture.h"

PicturePass::PicturePass(float left, float right, float bottom, float top) {
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glDisable(GL_BLEND);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluOrtho2D(left, right, bottom, top);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  // Passes that set no colour of their own show the picture as it is.
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

PicturePass::~PicturePass() {
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();
}

void PicturePass::bind(const Texture& picture) {
  picture.bind();
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
}

void PicturePass::blend(GLenum source, GLenum destination) {
  glEnable(GL_BLEND);
  glBlendFunc(source, destination);
}

void PicturePass::colour(float red, float green, float blue, float alpha) {
  glColor4f(red, green, blue, alpha);
}

void PicturePass::quad(float x0, float x1, float y0, float y1) {
  quad({{x0, y0, 0.0f, 1.0f}, {x1, y0, 1.0f, 1.0f}, {x1, y1, 1.0f, 0.0f}, {x0, y1, 0.0f, 0.0f}});
}

void PicturePass::quad(const Corner (&corners)[4]) {
  glBegin(GL_QUADS);
  for (const Corner& c : corners) {
    glTexCoord2f(c.s, c.t);
    glVertex2f(c.x, c.y);
  }
  glEnd();
}
