#include "gfx/SceneObject.h"

#include "gfx/GeometryOutput.h"
#include "gfx/Multitexture.h"
#include "gfx/Texture.h"

SceneObject::SceneObject() { multitexture::fetchEntryPoints(); }

SceneObject::~SceneObject() {
  if (hasList) glDeleteLists(list, 1);
}

void SceneObject::render() {}

void SceneObject::setRotation(float newAngle, float x, float y, float z) {
  angle = newAngle;
  axis = Vec3(x, y, z);
}

void SceneObject::setTexture(Texture* newTexture) { texture = newTexture; }

void SceneObject::setSecondTexture(Texture* newTexture) {
  secondTexture = multitexture::available() ? newTexture : nullptr;
}

void SceneObject::compile() {
  if (hasList) glDeleteLists(list, 1);  // compiling again replaces the list
  list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  render();
  glEndList();
  hasList = true;
}

void SceneObject::draw() {
  glPushMatrix();
  glTranslatef(position.x, position.y, position.z);
  glRotatef(angle, axis.x, axis.y, axis.z);
  if (alphaTest) {
    glAlphaFunc(GL_GREATER, 0.0f);
    glEnable(GL_ALPHA_TEST);
  }
  if (pass == currentPass) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    if (texture) texture->bind();
    if (secondTexture && multitexture::available()) {
      multitexture::glActiveTextureARB(GL_TEXTURE1_ARB);
      secondTexture->bind();
      // The second texture is decaled over the first, its alpha deciding
      // how much of it shows.
      glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
      multitexture::glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    if (hasList) {
      // A list holds the primitives alone.
      if (geometryOutput::enabled()) glCallList(list);
    } else {
      render();
    }
    glPopAttrib();
  }
  glDisable(GL_ALPHA_TEST);
  glPopMatrix();
}
