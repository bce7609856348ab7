// The set-up that scenes 0, 1, 2 and 7 share: one chrome tube swept along the
// scene's own shape, a camera and a world that draws through it, an optional
// cloud of glowing particles, an optional background and one picture for the
// frame's overlay. Each of them states its own three parts and adds its
// objects to the world; render is its own.
//
// The chrome look: a plasma surface in the scene's own tint, read through
// the surface normals, under one chrome environment map on the second
// texture unit. The tube is compiled into a display list at construction,
// so it keeps its shape at mesh time 0.
#pragma once

#include <memory>

#include "gfx/Camera.h"
#include "gfx/Color.h"
#include "gfx/Mesh.h"
#include "gfx/ParticleSystem.h"
#include "gfx/VertexFunction.h"
#include "gfx/World.h"
#include "scenes/Scene.h"

class TubeScene : public Scene {
 public:
  struct Tube {
    // Its two textures' member names, and its tint (the surface plasma's
    // second radial colour).
    const char* surfaceName;
    const char* environmentName;
    Color tint;
    int rows, cols;
    VertexFunction shape;
    int pass;
  };
  // The particles and the radial glow they wear; none when count is 0.
  struct Glow {
    int count;
    const char* name;
    Color colour;
    float exponent;
  };
  // 512 x 512: the background (none when null) and the overlay picture.
  struct Pictures {
    const char* backgroundPath;
    const char* overlayName;
    const char* overlayPath;
  };

  TubeScene(ShowClock& clock, const Tube& tube, const Glow& glow, const Pictures& pictures);

 protected:
  // Adds the tube, then the particles if any, to the world at the origin,
  // unturned.
  void placeAtOrigin();

  Camera camera;
  World world;
  Texture* background = nullptr;
  Texture* picture = nullptr;
  std::unique_ptr<Mesh> tube;
  std::unique_ptr<ParticleSystem> particles;
};
