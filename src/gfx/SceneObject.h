// Base of everything a scene places in 3D (meshes, particle systems): its own
// transform, up to two textures, the World pass it draws in, an optional
// alpha test and an optional display list. Scenes write the public fields
// directly.
#pragma once

#include <cstdint>

#include "gfx/Vec3.h"
#include "platform/Gl.h"

class Texture;

class SceneObject {
 public:
  // Needs a current GL context: fetches the multitexture entry points.
  SceneObject();
  // Frees the display list, if any (the context must still be current).
  virtual ~SceneObject();
  SceneObject(const SceneObject&) = delete;
  SceneObject& operator=(const SceneObject&) = delete;

  // Emits the object's own geometry; nothing in the base.
  virtual void render();

  void setRotation(float angle, float x, float y, float z);
  void setTexture(Texture* texture);
  // Stored only when multitexturing is available, else null.
  void setSecondTexture(Texture* texture);
  // Records render() into a display list: what it draws now is frozen.
  void compile();
  // Translates, rotates, and renders inside a saved attribute state when
  // pass == currentPass. Always leaves GL_ALPHA_TEST disabled.
  void draw();

  uint8_t pass = 0;         // 0: ordinary pass of World::draw; 1: additive pass
  uint8_t currentPass = 0;  // the pass being drawn, written by World::draw
  bool alphaTest = false;   // discard fragments whose alpha is not above 0
  bool hasList = false;
  GLuint list = 0;
  Vec3 position{0, 0, 0};
  float angle = 0.0f;  // degrees, about axis, after the translation
  Vec3 axis{0, 0, 0};
  Texture* texture = nullptr;        // unit 0, not owned
  Texture* secondTexture = nullptr;  // unit 1, decaled over the first, not owned
};
