#include "gfx/Texture.h"

#include "gfx/TextureRecorder.h"

Texture::Texture(int width, int height, TextureMode mode, const uint32_t* packed)
    : mode_(mode),
      texGen_(mode != TextureMode::Plain && mode != TextureMode::FromNormals),
      width_(width),
      height_(height) {
  glPushAttrib(GL_TEXTURE_BIT);
  // Rows of any width are tightly packed; this client state stays set.
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glGenTextures(1, &name_);
  glBindTexture(GL_TEXTURE_2D, name_);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  // Not a mipmapping filter, although the whole chain is uploaded: this is
  // the look the pictures were made for.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, width, height, GL_RGBA, GL_UNSIGNED_BYTE, packed);
  glPopAttrib();
  if (TextureRecorder::recording()) TextureRecorder::record(this, width, height, mode, packed);
}

Texture::~Texture() { glDeleteTextures(1, &name_); }

void Texture::bind() const {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, name_);
  if (!texGen_) return;
  GLint generation = GL_SPHERE_MAP;
  if (mode_ == TextureMode::EyeLinear) generation = GL_EYE_LINEAR;
  if (mode_ == TextureMode::ObjectLinear) generation = GL_OBJECT_LINEAR;
  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_TEXTURE_GEN_T);
  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, generation);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, generation);
}
