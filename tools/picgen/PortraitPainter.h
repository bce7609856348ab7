// Picture generator: paints a Person as a stylised, lit bust (an
// illustration made of shapes and noise) and, in the same pass, an ink
// drawing of its outlines. The photo scenes lay several treatments of the
// same person over each other, so every treatment starts from these two
// aligned layers.
#pragma once

#include "Bust.h"
#include "Picture.h"
#include "Plane.h"

namespace picgen {

// Where the bust sits in a picture.
struct PortraitFrame {
  int width = 512;
  int height = 512;
  float centreX = 256.0f;  // pixel position of the middle of the head
  float centreY = 220.0f;
  float scale = 140.0f;    // pixels per head unit, vertically
  float squeeze = 1.0f;    // horizontal scale, for quads that stretch the picture
};

struct PortraitLayers {
  Picture colour;  // premultiplied; alpha is the silhouette
  Plane ink;       // outlines and features as line work, 0 to 1
};

class PortraitPainter {
 public:
  explicit PortraitPainter(const Person& person);
  PortraitLayers paint(const PortraitFrame& frame) const;

 private:
  struct Sample {
    Rgba colour;  // premultiplied
    float ink = 0.0f;
  };
  Sample shade(Vec2 q, float pixel) const;
  Rgba shadeSkin(Vec2 h, float pixel, float* ink) const;
  Rgba shadeHair(Vec2 h, float d, Vec2 normal2d) const;

  Bust bust_;
};

}  // namespace picgen
