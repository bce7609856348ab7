// The layer's entry points: state, matrices, attributes, textures and the
// frame calls. Drawing itself is in Drawing.cpp.
#include "glfixed/FixedGl.h"

#include <cstring>
#include <vector>

#include "glfixed/Context.h"

using glfixed::Context;

namespace {

Context& ctx() { return Context::get(); }

glfixed::UnitState& activeUnit() {
  Context& c = ctx();
  return c.textures.units[c.textures.activeUnit];
}

int unitIndex(GLenum unit) {
  int index = int(unit) - int(GL_TEXTURE0);
  return index >= 0 && index < glfixed::kUnits ? index : -1;
}

// Whether cap is one of the layer's own enables; sets it when so.
bool setEnable(GLenum cap, bool on) {
  Context& c = ctx();
  glfixed::ServerState& s = c.server;
  if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + glfixed::kLights) {
    s.lights[cap - GL_LIGHT0].enabled = on;
    return true;
  }
  switch (cap) {
    case GL_DEPTH_TEST: s.depthTest = on; return true;
    case GL_BLEND: s.blend = on; return true;
    case GL_CULL_FACE: s.cullFace = on; return true;
    case GL_SCISSOR_TEST: s.scissorTest = on; return true;
    case GL_ALPHA_TEST: s.alphaTest = on; return true;
    case GL_LIGHTING: s.lighting = on; return true;
    case GL_FOG: s.fog = on; return true;
    case GL_NORMALIZE: s.normalize = on; return true;
    case GL_TEXTURE_2D: activeUnit().enabled2D = on; return true;
    case GL_TEXTURE_GEN_S: activeUnit().genS = on; return true;
    case GL_TEXTURE_GEN_T: activeUnit().genT = on; return true;
    default: return false;
  }
}

void copy4(float* to, const GLfloat* from) { std::memcpy(to, from, 4 * sizeof(float)); }

}  // namespace

void fglMatrixMode(GLenum mode) { ctx().server.matrixMode = mode; }
void fglLoadIdentity() { ctx().currentMatrix() = glfixed::Matrix4::identity(); }
void fglLoadMatrixf(const GLfloat* m) { std::memcpy(ctx().currentMatrix().m, m, 16 * sizeof(float)); }
void fglMultMatrixf(const GLfloat* m) {
  glfixed::Matrix4 other;
  std::memcpy(other.m, m, sizeof other.m);
  ctx().currentMatrix().multiply(other);
}
void fglPushMatrix() {
  glfixed::MatrixStack& stack = ctx().currentStack();
  if (stack.entries.size() < stack.depth) stack.entries.push_back(stack.entries.back());
}
void fglPopMatrix() {
  glfixed::MatrixStack& stack = ctx().currentStack();
  if (stack.entries.size() > 1) stack.entries.pop_back();
}
void fglTranslatef(GLfloat x, GLfloat y, GLfloat z) { ctx().currentMatrix().translate(x, y, z); }
void fglRotatef(GLfloat a, GLfloat x, GLfloat y, GLfloat z) { ctx().currentMatrix().rotate(a, x, y, z); }
void fglScalef(GLfloat x, GLfloat y, GLfloat z) { ctx().currentMatrix().scale(x, y, z); }
void fglOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  ctx().currentMatrix().ortho(l, r, b, t, n, f);
}
void fglFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  ctx().currentMatrix().frustum(l, r, b, t, n, f);
}
void fgluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  ctx().currentMatrix().perspective(fovy, aspect, zNear, zFar);
}
void fgluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top) {
  ctx().currentMatrix().ortho(left, right, bottom, top, -1.0, 1.0);
}
void fgluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz,
                GLdouble ux, GLdouble uy, GLdouble uz) {
  ctx().currentMatrix().lookAt(ex, ey, ez, cx, cy, cz, ux, uy, uz);
}

void fglEnable(GLenum cap) {
  if (!setEnable(cap, true)) glEnable(cap);
}
void fglDisable(GLenum cap) {
  if (!setEnable(cap, false)) glDisable(cap);
}
GLboolean fglIsEnabled(GLenum cap) {
  Context& c = ctx();
  const glfixed::ServerState& s = c.server;
  const glfixed::UnitState& u = activeUnit();
  if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + glfixed::kLights) return s.lights[cap - GL_LIGHT0].enabled;
  switch (cap) {
    case GL_DEPTH_TEST: return s.depthTest;
    case GL_BLEND: return s.blend;
    case GL_CULL_FACE: return s.cullFace;
    case GL_SCISSOR_TEST: return s.scissorTest;
    case GL_ALPHA_TEST: return s.alphaTest;
    case GL_LIGHTING: return s.lighting;
    case GL_FOG: return s.fog;
    case GL_NORMALIZE: return s.normalize;
    case GL_TEXTURE_2D: return u.enabled2D;
    case GL_TEXTURE_GEN_S: return u.genS;
    case GL_TEXTURE_GEN_T: return u.genT;
    default: return glIsEnabled(cap);
  }
}

void fglPushAttrib(GLbitfield mask) {
  Context& c = ctx();
  c.serverStack.push_back(c.server);
  c.textureStack.push_back(c.textures);
  c.attribMasks.push_back(mask);
}

void fglPopAttrib() {
  Context& c = ctx();
  if (c.attribMasks.empty()) return;
  const GLbitfield mask = c.attribMasks.back();
  // The texture group comes back with either mask; everything else only
  // with a mask wider than the texture group alone.
  c.textures = c.textureStack.back();
  if (mask != GL_TEXTURE_BIT) c.server = c.serverStack.back();
  c.serverStack.pop_back();
  c.textureStack.pop_back();
  c.attribMasks.pop_back();
}

void fglBlendFunc(GLenum source, GLenum destination) {
  ctx().server.blendSource = source;
  ctx().server.blendDestination = destination;
}
void fglDepthMask(GLboolean flag) { ctx().server.depthMask = flag; }
void fglDepthFunc(GLenum func) { ctx().server.depthFunc = func; }
void fglAlphaFunc(GLenum func, GLfloat ref) {
  ctx().server.alphaFunc = func;
  ctx().server.alphaRef = ref;
}
void fglShadeModel(GLenum mode) { ctx().server.shadeModel = mode; }
void fglClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
  float* c = ctx().server.clearColor;
  c[0] = r < 0 ? 0 : r > 1 ? 1 : r;
  c[1] = g < 0 ? 0 : g > 1 ? 1 : g;
  c[2] = b < 0 ? 0 : b > 1 ? 1 : b;
  c[3] = a < 0 ? 0 : a > 1 ? 1 : a;
}
void fglViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  GLint* v = ctx().server.viewport;
  v[0] = x;
  v[1] = y;
  v[2] = width;
  v[3] = height;
}
void fglScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
  GLint* v = ctx().server.scissor;
  v[0] = x;
  v[1] = y;
  v[2] = width;
  v[3] = height;
}

void fglTexEnvf(GLenum target, GLenum name, GLfloat value) {
  if (target == GL_TEXTURE_ENV && name == GL_TEXTURE_ENV_MODE) activeUnit().envMode = GLenum(value);
}
void fglTexEnvi(GLenum target, GLenum name, GLint value) { fglTexEnvf(target, name, GLfloat(value)); }
void fglTexGeni(GLenum coord, GLenum name, GLint value) {
  if (name != GL_TEXTURE_GEN_MODE) return;
  if (coord == GL_S) activeUnit().genModeS = GLenum(value);
  if (coord == GL_T) activeUnit().genModeT = GLenum(value);
}

void fglFogf(GLenum name, GLfloat value) {
  glfixed::ServerState& s = ctx().server;
  switch (name) {
    case GL_FOG_MODE: s.fogMode = GLenum(value); break;
    case GL_FOG_DENSITY: s.fogDensity = value; break;
    case GL_FOG_START: s.fogStart = value; break;
    case GL_FOG_END: s.fogEnd = value; break;
    default: break;
  }
}
void fglFogi(GLenum name, GLint value) { fglFogf(name, GLfloat(value)); }
void fglFogfv(GLenum name, const GLfloat* values) {
  if (name == GL_FOG_COLOR)
    copy4(ctx().server.fogColor, values);
  else
    fglFogf(name, values[0]);
}

void fglLightfv(GLenum light, GLenum name, const GLfloat* values) {
  Context& c = ctx();
  if (light < GL_LIGHT0 || light >= GL_LIGHT0 + glfixed::kLights) return;
  glfixed::LightState& l = c.server.lights[light - GL_LIGHT0];
  switch (name) {
    case GL_AMBIENT: copy4(l.ambient, values); break;
    case GL_DIFFUSE: copy4(l.diffuse, values); break;
    case GL_SPECULAR: copy4(l.specular, values); break;
    case GL_POSITION: c.modelView.entries.back().transform(values, l.position); break;
    default: break;
  }
}

void fglMaterialfv(GLenum, GLenum name, const GLfloat* values) {
  glfixed::MaterialState& m = ctx().server.material;
  switch (name) {
    case GL_AMBIENT: copy4(m.ambient, values); break;
    case GL_DIFFUSE: copy4(m.diffuse, values); break;
    case GL_AMBIENT_AND_DIFFUSE:
      copy4(m.ambient, values);
      copy4(m.diffuse, values);
      break;
    case GL_SPECULAR: copy4(m.specular, values); break;
    case GL_EMISSION: copy4(m.emission, values); break;
    case GL_SHININESS: m.shininess = values[0]; break;
    default: break;
  }
}

void APIENTRY fglActiveTexture(GLenum unit) {
  const int index = unitIndex(unit);
  if (index < 0) return;
  ctx().textures.activeUnit = index;
}

void APIENTRY fglClientActiveTexture(GLenum unit) {
  const int index = unitIndex(unit);
  if (index >= 0) ctx().clientUnit = index;
}

void fglGetFloatv(GLenum name, GLfloat* values) {
  Context& c = ctx();
  switch (name) {
    case GL_MODELVIEW_MATRIX: std::memcpy(values, c.modelView.entries.back().m, 64); return;
    case GL_PROJECTION_MATRIX: std::memcpy(values, c.projection.entries.back().m, 64); return;
    case GL_TEXTURE_MATRIX:
      std::memcpy(values, c.textureMatrix[c.textures.activeUnit].entries.back().m, 64);
      return;
    case GL_CURRENT_COLOR: copy4(values, c.server.color); return;
    case GL_COLOR_CLEAR_VALUE: copy4(values, c.server.clearColor); return;
    default: glGetFloatv(name, values); return;
  }
}

void fglGetIntegerv(GLenum name, GLint* values) {
  Context& c = ctx();
  switch (name) {
    case GL_VIEWPORT: std::memcpy(values, c.server.viewport, 4 * sizeof(GLint)); return;
    case GL_SCISSOR_BOX: std::memcpy(values, c.server.scissor, 4 * sizeof(GLint)); return;
    case GL_MATRIX_MODE: values[0] = GLint(c.server.matrixMode); return;
    case GL_TEXTURE_BINDING_2D: values[0] = GLint(activeUnit().bound); return;
    case GL_ACTIVE_TEXTURE: values[0] = GLint(GL_TEXTURE0 + c.textures.activeUnit); return;
    default: glGetIntegerv(name, values); return;
  }
}

void fglGenTextures(GLsizei n, GLuint* names) { glGenTextures(n, names); }

void fglDeleteTextures(GLsizei n, const GLuint* names) {
  Context& c = ctx();
  for (GLsizei i = 0; i < n; ++i) {
    c.complete.erase(names[i]);
    c.es.forgetTexture(names[i]);
    // A deleted texture leaves every binding of it, as in OpenGL.
    for (glfixed::UnitState& u : c.textures.units)
      if (u.bound == names[i]) u.bound = 0;
  }
  glDeleteTextures(n, names);
}

// Draws bind what they sample; a binding reaches ES before then only for
// the calls that work on the bound texture.
void fglBindTexture(GLenum target, GLuint name) {
  if (target == GL_TEXTURE_2D) activeUnit().bound = name;
}

void fglTexParameteri(GLenum target, GLenum name, GLint value) {
  Context& c = ctx();
  c.es.bindTexture(c.textures.activeUnit, activeUnit().bound);
  glTexParameteri(target, name, value);
}

void fglTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                   GLsizei height, GLint border, GLenum format, GLenum type, const void* pixels) {
  Context& c = ctx();
  c.es.bindTexture(c.textures.activeUnit, activeUnit().bound);
  // ES takes the format itself as the internal format.
  (void)internalFormat;
  glTexImage2D(target, level, GLint(format), width, height, border, format, type, pixels);
  if (level == 0) c.complete.insert(activeUnit().bound);
}

GLint fgluBuild2DMipmaps(GLenum target, GLint, GLint width, GLint height, GLenum format,
                         GLenum type, const void* data) {
  fglTexImage2D(target, 0, GLint(format), width, height, 0, format, type, data);
  return 0;
}

void fglClear(GLbitfield mask) {
  Context& c = ctx();
  c.es.applyRaster(c.server);
  glClear(mask);
}
void fglFinish() { glFinish(); }
void fglFlush() { glFlush(); }
void fglPixelStorei(GLenum name, GLint value) {
  if (name == GL_PACK_ALIGNMENT) ctx().packAlignment = value;
  glPixelStorei(name, value);
}

void fglReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                   void* pixels) {
  if (format == GL_RGBA || type != GL_UNSIGNED_BYTE || width <= 0 || height <= 0) {
    glReadPixels(x, y, width, height, format, type, pixels);
    return;
  }
  // ES reads RGBA bytes; other byte formats are packed from them here.
  const int channels = format == GL_RGB ? 3 : format == GL_ALPHA || format == GL_LUMINANCE ? 1 : 4;
  std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  const int alignment = ctx().packAlignment;
  glPixelStorei(GL_PACK_ALIGNMENT, alignment);
  size_t row = size_t(width) * size_t(channels);
  row = (row + size_t(alignment) - 1) / size_t(alignment) * size_t(alignment);
  auto* out = static_cast<uint8_t*>(pixels);
  for (GLsizei r = 0; r < height; ++r)
    for (GLsizei i = 0; i < width; ++i) {
      const uint8_t* p = &rgba[(size_t(r) * size_t(width) + size_t(i)) * 4];
      uint8_t* q = out + size_t(r) * row + size_t(i) * size_t(channels);
      if (channels == 1)
        q[0] = format == GL_ALPHA ? p[3] : p[0];
      else
        std::memcpy(q, p, size_t(channels));
    }
}

GLenum fglGetError() {
  const GLenum own = ctx().takeError();
  return own != GL_NO_ERROR ? own : glGetError();
}

void* fglProcAddress(const char* name) {
  struct Entry {
    const char* name;
    void* function;
  };
  static const Entry kEntries[] = {
      {"glActiveTextureARB", reinterpret_cast<void*>(&fglActiveTexture)},
      {"glActiveTexture", reinterpret_cast<void*>(&fglActiveTexture)},
      {"glClientActiveTextureARB", reinterpret_cast<void*>(&fglClientActiveTexture)},
      {"glClientActiveTexture", reinterpret_cast<void*>(&fglClientActiveTexture)},
  };
  for (const Entry& e : kEntries)
    if (std::strcmp(e.name, name) == 0) return e.function;
  return nullptr;
}

void fglReset() { Context::reset(); }
