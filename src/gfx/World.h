// An ordered list of placed objects and the camera to view them through. It
// draws every placement twice: ordinary objects first, then glowing ones
// added on with depth writes off. Owns neither the objects nor the camera.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/Placement.h"

class Camera;
class SceneObject;

class World {
 public:
  World() = default;
  virtual ~World() = default;

  // Placements draw in the order they were added.
  void add(SceneObject* object, Vec3 translation, float angle, Vec3 axis);
  void setCamera(Camera* camera) { camera_ = camera; }
  Camera* camera() const { return camera_; }
  const std::vector<Placement>& placements() const { return placements_; }

  // Nothing without a camera. Leaves blending on with (GL_ONE, GL_ONE) and
  // depth writes off: call it inside an attribute push and pop.
  void draw();

 private:
  void drawPass(uint8_t pass);

  std::vector<Placement> placements_;
  Camera* camera_ = nullptr;
};
