// The chrome tube look of scenes 0, 1, 2 and 7: a plasma surface in the
// scene's own tint, read through the surface normals, under one chrome
// environment map on the second texture unit, worn by a mesh compiled into a
// display list at construction. Only the tint (the plasma's second radial
// colour) differs from scene to scene.
#pragma once

#include <memory>

#include "gfx/Color.h"
#include "gfx/VertexFunction.h"

class Image;
class Mesh;
class Texture;

struct TubeLook {
  Texture* surface;
  Texture* environment;
};

// The two textures, made on `surfaces` (surface first); the Image is left in
// SphereMap mode. The caller takes ownership of both.
TubeLook makeTubeLook(Image& surfaces, const Color& tint);

// The chrome environment map alone, in the Image's current textureMode.
Texture* makeChromeEnvironment(Image& image);

// A rows x cols mesh of that shape wearing the look, drawn in `pass`,
// compiled at once: it keeps its shape at mesh time 0.
std::unique_ptr<Mesh> makeTube(int rows, int cols, VertexFunction shape, const TubeLook& look,
                               int pass = 0);
