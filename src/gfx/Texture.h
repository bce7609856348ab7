// An uploaded OpenGL texture with its full mipmap chain and the coordinate
// mode it is bound with. Made by an Image; owned by the scene that asked for
// it and immutable afterwards.
#pragma once

#include <cstdint>

#include "gfx/TextureMode.h"
#include "platform/Gl.h"

class Texture {
 public:
  // Uploads width x height packed pixels (bytes red, green, blue, alpha) with
  // a full mipmap chain, wrap repeat, linear filtering. The caller's texture
  // binding and environment survive. While a TextureRecorder is recording,
  // the packed bytes are also copied into it.
  Texture(int width, int height, TextureMode mode, const uint32_t* packed);
  virtual ~Texture();
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  // Enables texturing on the active unit, binds, and switches on coordinate
  // generation when the mode has it. Never switches generation off.
  void bind() const;
  bool usesTexGen() const { return texGen_; }
  TextureMode mode() const { return mode_; }
  GLuint name() const { return name_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  GLuint name_ = 0;
  TextureMode mode_;
  bool texGen_;
  int width_;
  int height_;
};
