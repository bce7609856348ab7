// kyl_glfixed_cases OUT: the fixed-function features one by one, each drawn
// small (64x64) with OpenGL 1.1 calls and written as OUT-NAME.ppm;
// "kyl_glfixed_cases --list" names the cases. Built twice, as
// kyl_scene_frames is: on Mesa's own fixed-function pipeline, and through
// the layer on OpenGL ES 2 (kyl_glfixed_cases_gles), so that a feature the
// layer gets wrong shows in its own picture.
//
// Every case starts from OpenGL's initial state on a cleared target, with
// blending over a coloured background wherever a fragment's alpha is part
// of what is tested.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/HiddenGlContext.h"
#include "gfx/Multitexture.h"
#include "platform/Gl.h"
#include "platform/Window.h"

namespace {

constexpr int kSize = 64;
constexpr GLenum kLight1 = GL_LIGHT0 + 1;
using multitexture::glActiveTextureARB;
using multitexture::glClientActiveTextureARB;

GLuint gGradient = 0;  // colours and alpha that change across it
GLuint gChecker = 0;   // 4x4 blocks, alpha 0 or 1

GLuint makeTexture(bool checker) {
  std::vector<uint8_t> texels(16 * 16 * 4);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      uint8_t* t = &texels[size_t(y * 16 + x) * 4];
      if (checker) {
        const bool on = ((x / 4) + (y / 4)) % 2 == 0;
        t[0] = on ? 250 : 40;
        t[1] = uint8_t(60 + 10 * x);
        t[2] = on ? 30 : 220;
        t[3] = on ? 255 : 0;
      } else {
        t[0] = uint8_t(x * 16);
        t[1] = uint8_t(y * 16);
        t[2] = uint8_t(255 - x * 8 - y * 8);
        t[3] = uint8_t(40 + (x + y) * 7);
      }
    }
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  return name;
}

void perspective() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(60.0, 1.0, 0.5, 20.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void blendOverBackground() {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// A quad over most of the target with a colour, alpha, normal and texture
// coordinate of its own at each corner (the coordinates run past 1, so
// wrapping shows).
void cornerQuad(GLenum mode = GL_QUADS) {
  static const float kCorners[4][11] = {
      // x, y, r, g, b, a, nx, ny, nz, s, t
      {-0.9f, -0.9f, 1.0f, 0.2f, 0.1f, 0.9f, 0.0f, 0.0f, 1.0f, -0.2f, -0.1f},
      {0.9f, -0.8f, 0.1f, 1.0f, 0.3f, 0.5f, 0.6f, 0.0f, 0.8f, 1.3f, 0.0f},
      {0.8f, 0.9f, 0.2f, 0.3f, 1.0f, 0.2f, 0.0f, 0.6f, 0.8f, 1.2f, 1.4f},
      {-0.9f, 0.7f, 0.9f, 0.9f, 0.2f, 1.0f, -0.6f, 0.0f, 0.8f, 0.1f, 1.1f},
  };
  glBegin(mode);
  for (const float* c : kCorners) {
    glColor4f(c[2], c[3], c[4], c[5]);
    glNormal3f(c[6], c[7], c[8]);
    glTexCoord2f(c[9], c[10]);
    glVertex3f(c[0], c[1], 0.0f);
  }
  glEnd();
}

// A sphere of 12 x 16 vertices as arrays, drawn with glDrawElements.
struct Sphere {
  std::vector<float> positions, normals, texCoords;
  std::vector<uint16_t> indices;
  Sphere() {
    constexpr int kRows = 12, kCols = 16;
    for (int i = 0; i < kRows; ++i)
      for (int j = 0; j < kCols; ++j) {
        const float theta = 3.14159265f * float(i) / float(kRows - 1);
        const float phi = 6.2831853f * float(j) / float(kCols - 1);
        const float n[3] = {std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi)};
        for (int k = 0; k < 3; ++k) {
          normals.push_back(n[k]);
          positions.push_back(0.9f * n[k]);
        }
        texCoords.push_back(float(j) / float(kCols - 1) * 2.0f);
        texCoords.push_back(float(i) / float(kRows - 1));
      }
    for (int i = 0; i + 1 < kRows; ++i)
      for (int j = 0; j + 1 < kCols; ++j) {
        const uint16_t p = uint16_t(i * kCols + j), q = uint16_t(p + 1), r = uint16_t(p + kCols + 1),
                       s = uint16_t(p + kCols);
        for (uint16_t v : {p, s, r, p, r, q}) indices.push_back(v);
      }
  }
  void draw(bool withTexCoords) const {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glNormalPointer(GL_FLOAT, 0, normals.data());
    if (withTexCoords) {
      glEnableClientState(GL_TEXTURE_COORD_ARRAY);
      glTexCoordPointer(2, GL_FLOAT, 0, texCoords.data());
    }
    glDrawElements(GL_TRIANGLES, GLsizei(indices.size()), GL_UNSIGNED_SHORT, indices.data());
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
  }
};

const Sphere& sphere() {
  static const Sphere s;
  return s;
}

void sphereInView(float angle) {
  perspective();
  glTranslatef(0.0f, 0.0f, -2.2f);
  glRotatef(angle, 0.3f, 1.0f, 0.2f);
}

// Each environment on the gradient over vertex colours, blended so that
// the alpha it gives shows.
void environment(int mode) {
  blendOverBackground();
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, gGradient);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, mode);
  cornerQuad();
}

// The show's pairing: unit 0 modulates the vertex colour, unit 1 decals a
// picture with holes over it, its coordinates generated.
void twoUnits(int second) {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, gGradient);
  glActiveTextureARB(GL_TEXTURE1_ARB);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, gChecker);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, second);
  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_TEXTURE_GEN_T);
  glActiveTextureARB(GL_TEXTURE0_ARB);
  blendOverBackground();
  cornerQuad();
}

// A list records the vertices with their own colours, normals and texture
// coordinates; the current values set after compiling must not leak in.
void listKeepsAttributes(int mode) {
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  cornerQuad(GLenum(mode));
  glEndList();
  glColor4f(0.0f, 0.0f, 0.0f, 0.0f);
  glTexCoord2f(0.5f, 0.5f);
  glNormal3f(1.0f, 0.0f, 0.0f);
  blendOverBackground();
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, gGradient);
  glCallList(list);
  glDeleteLists(list, 1);
}

// A list compiled from arrays without colours or coordinates takes the
// current colour and coordinate of the moment it is called; lit, it keeps
// its normals. Called twice, moved and in another colour.
void listTakesCurrentValues(int lit) {
  sphereInView(20.0f);
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  sphere().draw(false);
  glEndList();
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, gGradient);
  glTexCoord2f(0.3f, 0.6f);
  if (lit) {
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
  }
  glEnable(GL_DEPTH_TEST);
  glColor4f(1.0f, 0.5f, 0.2f, 1.0f);
  glCallList(list);
  glTranslatef(0.9f, 0.5f, -0.8f);
  glTexCoord2f(0.8f, 0.1f);
  glColor4f(0.2f, 0.9f, 0.4f, 1.0f);
  glCallList(list);
  glDeleteLists(list, 1);
}

// A quad that reaches past the frame: Mesa splits a clipped quad along its
// other diagonal, which shows in colours that are not affine across it.
void clippedQuad(int) {
  glScalef(1.5f, 1.4f, 1.0f);
  cornerQuad();
}

// Blend functions the show uses and their kin: a quad over a three-colour
// background.
void blending(int pair) {
  static const GLenum kPairs[][2] = {
      {GL_ONE, GL_ONE},       {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}, {GL_SRC_ALPHA, GL_ONE},
      {GL_DST_COLOR, GL_ZERO}, {GL_ZERO, GL_ONE_MINUS_SRC_COLOR},      {GL_ONE_MINUS_DST_COLOR, GL_ONE},
  };
  glBegin(GL_QUADS);
  glColor4f(0.8f, 0.1f, 0.3f, 1.0f);
  glVertex2f(-1, -1);
  glVertex2f(1, -1);
  glColor4f(0.1f, 0.7f, 0.5f, 1.0f);
  glVertex2f(1, 1);
  glVertex2f(-1, 1);
  glEnd();
  glEnable(GL_BLEND);
  glBlendFunc(kPairs[pair][0], kPairs[pair][1]);
  cornerQuad();
}

// A quad receding from 0.6 to 12 units, fogged.
void fog(int mode) {
  perspective();
  glEnable(GL_FOG);
  const float colour[4] = {0.7f, 0.3f, 0.9f, 1.0f};
  glFogfv(GL_FOG_COLOR, colour);
  glFogi(GL_FOG_MODE, mode);
  glFogf(GL_FOG_START, 1.5f);
  glFogf(GL_FOG_END, 9.0f);
  glFogf(GL_FOG_DENSITY, mode == GL_EXP ? 0.35f : 0.2f);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, gGradient);
  glBegin(GL_QUADS);
  glColor4f(1, 1, 1, 1);
  glTexCoord2f(0, 0);
  glVertex3f(-0.6f, -0.5f, -0.6f);
  glTexCoord2f(1, 0);
  glVertex3f(0.6f, -0.5f, -0.6f);
  glColor4f(0.2f, 1, 0.5f, 1);
  glTexCoord2f(1, 4);
  glVertex3f(6.0f, 2.0f, -12.0f);
  glTexCoord2f(0, 4);
  glVertex3f(-6.0f, 2.0f, -12.0f);
  glEnd();
}

// Coordinate generation on unit 0: the sphere map on a turning sphere, the
// linear modes (initial planes) on a tilted quad.
void generation(int mode) {
  if (mode == GL_SPHERE_MAP) {
    sphereInView(35.0f);
  } else {
    perspective();
    glTranslatef(0.2f, -0.1f, -2.0f);
    glRotatef(30.0f, 1.0f, 0.5f, 0.0f);
    glScalef(1.2f, 0.9f, 1.0f);
  }
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, gChecker);
  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, mode);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, mode);
  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_TEXTURE_GEN_T);
  glEnable(GL_DEPTH_TEST);
  if (mode == GL_SPHERE_MAP)
    sphere().draw(false);
  else
    cornerQuad();
}

// Lighting with light 0 placed through a turned modelview, a material with
// every term, and a second light.
void lighting(int) {
  sphereInView(-25.0f);
  glPushMatrix();
  glLoadIdentity();
  glRotatef(40.0f, 0.0f, 1.0f, 0.0f);
  const float position[4] = {0.3f, 0.8f, 1.0f, 0.0f};
  glLightfv(GL_LIGHT0, GL_POSITION, position);
  glPopMatrix();
  const float red[4] = {0.9f, 0.3f, 0.2f, 1.0f};
  const float ambient[4] = {0.2f, 0.2f, 0.5f, 1.0f};
  const float specular[4] = {0.8f, 0.8f, 0.8f, 1.0f};
  const float emission[4] = {0.05f, 0.1f, 0.0f, 1.0f};
  const float shininess = 12.0f;
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, red);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &shininess);
  const float blue[4] = {0.1f, 0.2f, 0.7f, 1.0f};
  const float below[4] = {-0.5f, -1.0f, 0.3f, 0.0f};
  glLightfv(kLight1, GL_DIFFUSE, blue);
  glLightfv(kLight1, GL_POSITION, below);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glEnable(kLight1);
  glEnable(GL_DEPTH_TEST);
  sphere().draw(false);
}

// Small quads at every level of nested modelview pushes, a projection pushed
// and popped around an orthographic pass, loaded and multiplied matrices.
void matrixStacks(int) {
  perspective();
  glTranslatef(0.0f, 0.0f, -3.0f);
  for (int level = 0; level < 4; ++level) {
    glPushMatrix();
    glRotatef(25.0f * float(level + 1), 0.0f, 0.0f, 1.0f);
    glTranslatef(0.6f, 0.0f, 0.0f);
    glScalef(0.8f, 0.8f, 0.8f);
    glColor4f(0.2f * float(level), 1.0f - 0.2f * float(level), 0.5f, 1.0f);
    glBegin(GL_TRIANGLES);
    glVertex2f(-0.3f, -0.3f);
    glVertex2f(0.3f, -0.3f);
    glVertex2f(0.0f, 0.3f);
    glEnd();
  }
  for (int level = 0; level < 4; ++level) glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(-2.0, 2.0, -2.0, 2.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  const float shear[16] = {1, 0, 0, 0, 0.5f, 1, 0, 0, 0, 0, 1, 0, -1.2f, -1.2f, 0, 1};
  glLoadMatrixf(shear);
  const float half[16] = {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  glMultMatrixf(half);
  glColor4f(1.0f, 1.0f, 0.0f, 1.0f);
  cornerQuad();
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  // The perspective and the translation are back.
  glColor4f(0.3f, 0.3f, 1.0f, 1.0f);
  glBegin(GL_TRIANGLES);
  glVertex2f(-1.0f, 0.8f);
  glVertex2f(-0.6f, 0.8f);
  glVertex2f(-0.8f, 1.2f);
  glEnd();
}

// The texture matrix moves and scales the coordinates, the generated ones
// included.
void textureMatrix(int) {
  glMatrixMode(GL_TEXTURE);
  glTranslatef(0.25f, 0.1f, 0.0f);
  glScalef(2.0f, 1.5f, 1.0f);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, gChecker);
  cornerQuad();
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
}

// Fragments whose texture alpha is not above the reference are dropped, and
// the depth buffer keeps what was dropped out of it. Texels are taken
// nearest: a filtered alpha near the reference would test the filter's
// rounding instead.
void alphaTest(int half) {
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, half ? 0.5f : 0.0f);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, half ? gGradient : gChecker);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  // The texel's alpha itself, not one modulated across the quad.
  if (half) glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  cornerQuad();
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_TEXTURE_2D);
  glColor4f(0.1f, 0.9f, 0.9f, 1.0f);
  glBegin(GL_QUADS);
  glVertex3f(-1, -1, 0.5f);
  glVertex3f(1, -1, 0.5f);
  glVertex3f(1, 1, 0.5f);
  glVertex3f(-1, 1, 0.5f);
  glEnd();
}

// State changed inside glPushAttrib is all back after glPopAttrib; with
// GL_TEXTURE_BIT only the texture state comes back.
void attributeStack(int) {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, gGradient);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glEnable(GL_FOG);
  glEnable(GL_LIGHTING);
  glBindTexture(GL_TEXTURE_2D, gChecker);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
  glColor4f(0.0f, 0.0f, 0.0f, 0.0f);
  glPopAttrib();
  glPushAttrib(GL_TEXTURE_BIT);
  glBindTexture(GL_TEXTURE_2D, gChecker);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glPopAttrib();
  cornerQuad();
}

// Every polygon primitive, one in each quarter, with culling of the
// clockwise ones.
void primitives(int) {
  glEnable(GL_CULL_FACE);
  const GLenum modes[4] = {GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN, GL_QUAD_STRIP, GL_POLYGON};
  for (int q = 0; q < 4; ++q) {
    const float x = q % 2 ? 0.05f : -0.95f, y = q / 2 ? 0.05f : -0.95f;
    glBegin(modes[q]);
    for (int i = 0; i < 6; ++i) {
      const float a = 6.2831853f * float(i) / 6.0f;
      glColor4f(0.2f + 0.13f * float(i), 0.9f - 0.1f * float(i), float(q) * 0.3f, 1.0f);
      glVertex2f(x + 0.45f + 0.4f * std::cos(a), y + 0.45f + 0.4f * std::sin(a * (q == 0 ? -1.0f : 1.0f)));
    }
    glEnd();
  }
}

// Depth: a nearer quad first, then a farther one drawn with depth writes
// off and the test on, then one with GL_LEQUAL at the same depth.
void depth(int) {
  glEnable(GL_DEPTH_TEST);
  glColor4f(1.0f, 0.2f, 0.2f, 1.0f);
  glBegin(GL_QUADS);
  glVertex3f(-0.8f, -0.8f, -0.2f);
  glVertex3f(0.3f, -0.8f, -0.2f);
  glVertex3f(0.3f, 0.3f, 0.6f);
  glVertex3f(-0.8f, 0.3f, 0.6f);
  glEnd();
  glDepthMask(GL_FALSE);
  glColor4f(0.2f, 1.0f, 0.2f, 1.0f);
  glBegin(GL_QUADS);
  glVertex3f(-0.3f, -0.3f, 0.1f);
  glVertex3f(0.8f, -0.3f, 0.1f);
  glVertex3f(0.8f, 0.8f, 0.1f);
  glVertex3f(-0.3f, 0.8f, 0.1f);
  glEnd();
  glDepthMask(GL_TRUE);
  glDepthFunc(GL_LEQUAL);
  glColor4f(0.2f, 0.2f, 1.0f, 1.0f);
  glBegin(GL_TRIANGLES);
  glVertex3f(-0.8f, -0.8f, -0.2f);
  glVertex3f(0.3f, -0.8f, -0.2f);
  glVertex3f(0.3f, 0.3f, 0.6f);
  glEnd();
}

struct Case {
  const char* name;
  void (*draw)(int);
  int parameter;
};

const Case kCases[] = {
    {"modulate", environment, GL_MODULATE},
    {"decal", environment, GL_DECAL},
    {"add", environment, GL_ADD},
    {"replace", environment, GL_REPLACE},
    {"second-unit-decal", twoUnits, GL_DECAL},
    {"second-unit-add", twoUnits, GL_ADD},
    {"list-keeps-attributes", listKeepsAttributes, GL_TRIANGLE_FAN},
    {"list-of-quads", listKeepsAttributes, GL_QUADS},
    {"list-takes-current", listTakesCurrentValues, 0},
    {"list-lit", listTakesCurrentValues, 1},
    {"blend-one-one", blending, 0},
    {"blend-alpha", blending, 1},
    {"blend-alpha-one", blending, 2},
    {"blend-dst-colour", blending, 3},
    {"blend-inverse-src", blending, 4},
    {"blend-inverse-dst", blending, 5},
    {"fog-linear", fog, GL_LINEAR},
    {"fog-exp", fog, GL_EXP},
    {"fog-exp2", fog, GL_EXP2},
    {"sphere-map", generation, GL_SPHERE_MAP},
    {"object-linear", generation, GL_OBJECT_LINEAR},
    {"eye-linear", generation, GL_EYE_LINEAR},
    {"lighting", lighting, 0},
    {"matrix-stacks", matrixStacks, 0},
    {"texture-matrix", textureMatrix, 0},
    {"alpha-test", alphaTest, 0},
    {"alpha-test-half", alphaTest, 1},
    {"attribute-stack", attributeStack, 0},
    {"primitives", primitives, 0},
    {"quad-clipped", clippedQuad, 0},
    {"depth", depth, 0},
};

bool writePpm(const std::string& path) {
  std::vector<uint8_t> rgb(size_t(kSize) * kSize * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  std::fprintf(file, "P6\n%d %d\n255\n", kSize, kSize);
  bool ok = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
  ok = std::fclose(file) == 0 && ok;
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT | --list\n", argv[0]);
    return 2;
  }
  if (std::strcmp(argv[1], "--list") == 0) {
    for (const Case& c : kCases) std::printf("%s\n", c.name);
    return 0;
  }
  platform::allowVideoWithoutDisplay();
  HiddenGlContext context(kSize, kSize);
  multitexture::fetchEntryPoints();
  if (!multitexture::available()) {
    std::fprintf(stderr, "%s: no multitexturing\n", argv[0]);
    return 1;
  }
  gGradient = makeTexture(false);
  gChecker = makeTexture(true);
  for (const Case& c : kCases) {
    // OpenGL's initial state for every case: what the case changes comes
    // back with the attribute and matrix pops.
    glViewport(0, 0, kSize, kSize);
    glClearColor(0.25f, 0.45f, 0.35f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    c.draw(c.parameter);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    if (!writePpm(std::string(argv[1]) + "-" + c.name + ".ppm")) return 1;
  }
  return 0;
}
