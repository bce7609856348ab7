// The part of OpenGL's fixed-function state that the layer keeps itself,
// laid out so that glPushAttrib can copy it whole and glPopAttrib put it
// back; the shader key is derived from it at each draw.
#pragma once

#include <cstdint>

#include "glfixed/FixedGl.h"

namespace glfixed {

constexpr int kUnits = 2;
constexpr int kLights = 8;

// One texture unit's server state (the GL_TEXTURE_BIT group).
struct UnitState {
  bool enabled2D = false;
  GLuint bound = 0;
  GLenum envMode = GL_MODULATE;
  bool genS = false;
  bool genT = false;
  GLenum genModeS = GL_EYE_LINEAR;
  GLenum genModeT = GL_EYE_LINEAR;
};

struct LightState {
  bool enabled = false;
  float ambient[4] = {0, 0, 0, 1};
  float diffuse[4] = {0, 0, 0, 1};
  float specular[4] = {0, 0, 0, 1};
  float position[4] = {0, 0, 1, 0};  // eye space, as given through the modelview
};

struct MaterialState {
  float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
  float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
  float specular[4] = {0, 0, 0, 1};
  float emission[4] = {0, 0, 0, 1};
  float shininess = 0.0f;
};

// Everything but the texture group.
struct ServerState {
  // Current values (GL_CURRENT_BIT).
  float color[4] = {1, 1, 1, 1};
  float normal[3] = {0, 0, 1};
  float texCoord[kUnits][4] = {{0, 0, 0, 1}, {0, 0, 0, 1}};
  // Enables and their parameters.
  bool depthTest = false;
  bool blend = false;
  bool cullFace = false;
  bool scissorTest = false;
  bool alphaTest = false;
  bool lighting = false;
  bool fog = false;
  bool normalize = false;
  GLenum blendSource = GL_ONE;
  GLenum blendDestination = GL_ZERO;
  GLboolean depthMask = GL_TRUE;
  GLenum depthFunc = GL_LESS;
  GLenum alphaFunc = GL_ALWAYS;
  float alphaRef = 0.0f;
  GLenum shadeModel = GL_SMOOTH;
  float clearColor[4] = {0, 0, 0, 0};
  GLint viewport[4] = {0, 0, 0, 0};
  GLint scissor[4] = {0, 0, 0, 0};
  GLenum matrixMode = GL_MODELVIEW;
  GLenum fogMode = GL_EXP;
  float fogDensity = 1.0f;
  float fogStart = 0.0f;
  float fogEnd = 1.0f;
  float fogColor[4] = {0, 0, 0, 0};
  float lightModelAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
  LightState lights[kLights];
  MaterialState material;
};

struct TextureState {
  int activeUnit = 0;
  UnitState units[kUnits];
};

}  // namespace glfixed
