// A plasma texture described by name instead of twelve positional arguments.
// Fields left at zero take the values most of the show's plasmas use (the
// tube surfaces': white against minus white, seed 11, four waves over a
// 4 x 1 range, exponent 1, strength 0.1, frequency 0.01); the radial colours
// have no such default, zero is theirs.
#pragma once

#include "gfx/Color.h"

class Image;
class Texture;

struct PlasmaDescription {
  Color positive;
  Color negative;
  int seed = 0;
  int waves = 0;
  int rangeX = 0;
  int rangeY = 0;
  Color radialFirst;
  Color radialSecond;
  float radialExponent = 0.0f;
  float strengthX = 0.0f;
  float strengthY = 0.0f;
  float frequency = 0.0f;
};

// Image::plasmaTexture with the description's values, in the Image's current
// textureMode.
Texture* makePlasmaTexture(Image& image, const PlasmaDescription& description);
