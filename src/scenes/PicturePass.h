// A screen-space picture pass: backgrounds, overlays and logos drawn as flat
// quads over the frame. Construction saves all attributes, switches off depth
// test, texturing, lighting and blending, and sets a 2D projection (by
// default x from -1 to 1 and y from -1 at the top to 1 at the bottom) with an
// identity model-view; destruction puts everything back.
#pragma once

#include "platform/Gl.h"

class Texture;

class PicturePass {
 public:
  PicturePass(float left = -1.0f, float right = 1.0f, float bottom = 1.0f, float top = -1.0f);
  ~PicturePass();
  PicturePass(const PicturePass&) = delete;
  PicturePass& operator=(const PicturePass&) = delete;

  // Binds the picture with coordinate generation off.
  void bind(const Texture& picture);
  void blend(GLenum source, GLenum destination);
  void colour(float red, float green, float blue, float alpha = 1.0f);
  // x from x0 to x1, y from y0 to y1, texture coordinates so that a picture
  // stored bottom row first is upright.
  void quad(float x0, float x1, float y0, float y1);

  // A quad with its own corners and texture coordinates, in drawing order.
  struct Corner {
    float x, y, s, t;
  };
  void quad(const Corner (&corners)[4]);
};
