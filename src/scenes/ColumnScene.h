// Scene 6, the close: the only moving mesh, a thick lit tube along a
// swaying vertical line that ripples and tumbles about a drifting axis; a
// cloud of 250 particles expanding from the centre, a flare at the upper
// right, a dimmed background and a mirrored overlay.
#pragma once

#include <memory>

#include "gfx/Camera.h"
#include "gfx/Mesh.h"
#include "gfx/ParticleSystem.h"
#include "gfx/World.h"
#include "scenes/Scene.h"

class ColumnScene : public Scene {
 public:
  explicit ColumnScene(ShowClock& clock);
  void render() override;

  // The recomputed mesh, for inspection.
  Mesh& columnMesh() { return *column; }

 private:
  Camera camera;
  World world;
  Texture* background;
  Texture* overlay;
  std::unique_ptr<Mesh> column;
  std::unique_ptr<ParticleSystem> cloud;
  // One particle rewritten every frame; kept rather than rebuilt so that the
  // frame loop allocates nothing.
  std::unique_ptr<ParticleSystem> flare;
};
