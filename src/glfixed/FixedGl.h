// OpenGL 1.1 fixed-function drawing over OpenGL ES 2 (and so WebGL): the
// calls the show makes, and no more, with the same results.
//
// Manual
//   What it is: every call is named as in OpenGL 1.1 with the prefix fgl
//   (fglEnable, fglBegin, fgluPerspective). Code above the platform layer
//   does not call these names: platform/Gl.h maps the usual gl names onto
//   them (glfixed/GlNames.h) when the build draws through this layer, so the
//   show's sources stay OpenGL 1.1 sources.
//   Set-up: make an OpenGL ES 2 context current, then call any fgl function;
//   the layer sets itself up on first use with OpenGL's initial state
//   (identity matrices, white colour, light 0 from +z, modulate, ...).
//   fglProcAddress gives glActiveTextureARB and glClientActiveTextureARB.
//
//   What it does:
//   - Matrices: modelview, projection and texture stacks (32, 32, 4 deep),
//     glLoadIdentity, glPush/PopMatrix, glTranslate/Rotate/Scale,
//     glMultMatrix, glOrtho, glFrustum, gluPerspective, gluOrtho2D,
//     gluLookAt, glGetFloatv of the matrices.
//   - Vertices: glBegin/glEnd with points-free primitives (triangles,
//     strips, fans, quads, quad strips), glVertex2/3, glColor3/4,
//     glNormal3, glTexCoord2; vertex, normal and texture-coordinate arrays
//     per client unit with glDrawElements and glDrawArrays.
//   - Display lists: glGenLists, glNewList(GL_COMPILE), glEndList,
//     glCallList, glDeleteLists. Only drawing is compiled: the vertices a
//     list's glBegin/glEnd or array draws give, with the arrays' contents
//     copied at compile time; attributes whose array was off at compile
//     time take the current value when the list is called, as in OpenGL.
//     Other calls made while compiling are executed at once.
//   - Per vertex: lighting with light 0 to 7 and the front material (all at
//     OpenGL's initial values; glLightfv and glMaterialfv set them), no
//     normalisation (as with GL_NORMALIZE off), vertex colours clamped.
//     Texture-coordinate generation for s and t per unit: GL_OBJECT_LINEAR,
//     GL_EYE_LINEAR (initial planes) and GL_SPHERE_MAP.
//   - Per fragment: two texture units (GL_TEXTURE_2D only) with the
//     environments GL_MODULATE, GL_DECAL, GL_ADD and GL_REPLACE; fog
//     (linear, exp, exp2 on the eye distance); alpha test.
//   - State: glEnable/glDisable of the above and of depth test, blending,
//     culling and scissor test; glPushAttrib/glPopAttrib (GL_TEXTURE_BIT on
//     its own, any other mask saves and restores all the state kept here);
//     glBlendFunc, glDepthMask, glDepthFunc, glAlphaFunc, glShadeModel
//     (recorded; shading is always smooth), glClearColor, glViewport,
//     glScissor, glTexEnv, glTexGen, glFog.
//   - Textures: glGen/Delete/BindTextures, glTexImage2D, glTexParameteri,
//     gluBuild2DMipmaps (level 0 only: power-of-two sizes are uploaded as
//     they are, the filters the show uses never read smaller levels).
//   - Pass-through: glClear, glFinish, glFlush, glPixelStorei,
//     glReadPixels (also GL_RGB), glGetIntegerv, glGetError.
//
//   How it draws: one shader program per combination of enabled features
//   (lighting, each unit's environment and generation modes, fog mode,
//   alpha test), made when first needed and kept. Vertices go through one
//   streaming buffer; lists keep their own.
//
//   Not there: flat shading, points and lines, evaluators, selection,
//   accumulation, stencil, colour arrays, texture matrices' effect on
//   generated coordinates is applied but the stack is otherwise unused.
#pragma once

#include <GLES2/gl2.h>

typedef double GLdouble;
typedef double GLclampd;

#ifndef APIENTRY
#define APIENTRY
#endif

// OpenGL 1.1 names that OpenGL ES 2 lacks.
#define GL_QUADS 0x0007
#define GL_QUAD_STRIP 0x0008
#define GL_POLYGON 0x0009
#define GL_MATRIX_MODE 0x0BA0
#define GL_CURRENT_COLOR 0x0B00
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_TEXTURE 0x1702
#define GL_MODELVIEW_MATRIX 0x0BA6
#define GL_PROJECTION_MATRIX 0x0BA7
#define GL_TEXTURE_MATRIX 0x0BA8
#define GL_CURRENT_BIT 0x00000001
#define GL_LIGHTING_BIT 0x00000040
#define GL_FOG_BIT 0x00000080
#define GL_VIEWPORT_BIT 0x00000800
#define GL_TRANSFORM_BIT 0x00001000
#define GL_ENABLE_BIT 0x00002000
#define GL_TEXTURE_BIT 0x00040000
#define GL_ALL_ATTRIB_BITS 0x000FFFFF
#define GL_LIGHTING 0x0B50
#define GL_LIGHT0 0x4000
#define GL_AMBIENT 0x1200
#define GL_DIFFUSE 0x1201
#define GL_SPECULAR 0x1202
#define GL_POSITION 0x1203
#define GL_EMISSION 0x1600
#define GL_SHININESS 0x1601
#define GL_AMBIENT_AND_DIFFUSE 0x1602
#define GL_LIGHT_MODEL_AMBIENT 0x0B53
#define GL_NORMALIZE 0x0BA1
#define GL_ALPHA_TEST 0x0BC0
#define GL_FOG 0x0B60
#define GL_FOG_DENSITY 0x0B62
#define GL_FOG_START 0x0B63
#define GL_FOG_END 0x0B64
#define GL_FOG_MODE 0x0B65
#define GL_FOG_COLOR 0x0B66
#define GL_EXP 0x0800
#define GL_EXP2 0x0801
#define GL_SHADE_MODEL 0x0B54
#define GL_FLAT 0x1D00
#define GL_SMOOTH 0x1D01
#define GL_TEXTURE_ENV 0x2300
#define GL_TEXTURE_ENV_MODE 0x2200
#define GL_MODULATE 0x2100
#define GL_DECAL 0x2101
#define GL_ADD 0x0104
#define GL_S 0x2000
#define GL_T 0x2001
#define GL_TEXTURE_GEN_S 0x0C60
#define GL_TEXTURE_GEN_T 0x0C61
#define GL_TEXTURE_GEN_MODE 0x2500
#define GL_OBJECT_LINEAR 0x2401
#define GL_EYE_LINEAR 0x2400
#define GL_SPHERE_MAP 0x2402
#define GL_VERTEX_ARRAY 0x8074
#define GL_NORMAL_ARRAY 0x8075
#define GL_COLOR_ARRAY 0x8076
#define GL_TEXTURE_COORD_ARRAY 0x8078
#define GL_COMPILE 0x1300
#define GL_COMPILE_AND_EXECUTE 0x1301
#define GL_TEXTURE0_ARB 0x84C0
#define GL_TEXTURE1_ARB 0x84C1
#define GL_RGBA8 0x8058
#define GL_DOUBLE 0x140A

// Matrices.
void fglMatrixMode(GLenum mode);
void fglLoadIdentity();
void fglLoadMatrixf(const GLfloat* m);
void fglMultMatrixf(const GLfloat* m);
void fglPushMatrix();
void fglPopMatrix();
void fglTranslatef(GLfloat x, GLfloat y, GLfloat z);
void fglRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void fglScalef(GLfloat x, GLfloat y, GLfloat z);
void fglOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f);
void fglFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f);
void fgluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
void fgluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top);
void fgluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
                GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ);

// Immediate mode and current values.
void fglBegin(GLenum mode);
void fglEnd();
void fglVertex2f(GLfloat x, GLfloat y);
void fglVertex3f(GLfloat x, GLfloat y, GLfloat z);
void fglColor3f(GLfloat r, GLfloat g, GLfloat b);
void fglColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void fglNormal3f(GLfloat x, GLfloat y, GLfloat z);
void fglTexCoord2f(GLfloat s, GLfloat t);

// Arrays.
void fglEnableClientState(GLenum array);
void fglDisableClientState(GLenum array);
void fglVertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void fglNormalPointer(GLenum type, GLsizei stride, const void* pointer);
void fglTexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void APIENTRY fglClientActiveTexture(GLenum unit);
void fglDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices);
void fglDrawArrays(GLenum mode, GLint first, GLsizei count);

// Display lists.
GLuint fglGenLists(GLsizei range);
void fglNewList(GLuint list, GLenum mode);
void fglEndList();
void fglCallList(GLuint list);
void fglDeleteLists(GLuint list, GLsizei range);

// State.
void fglEnable(GLenum cap);
void fglDisable(GLenum cap);
GLboolean fglIsEnabled(GLenum cap);
void fglPushAttrib(GLbitfield mask);
void fglPopAttrib();
void fglBlendFunc(GLenum source, GLenum destination);
void fglDepthMask(GLboolean flag);
void fglDepthFunc(GLenum func);
void fglAlphaFunc(GLenum func, GLfloat ref);
void fglShadeModel(GLenum mode);
void fglClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void fglViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void fglScissor(GLint x, GLint y, GLsizei width, GLsizei height);
void fglTexEnvf(GLenum target, GLenum name, GLfloat value);
void fglTexEnvi(GLenum target, GLenum name, GLint value);
void fglTexGeni(GLenum coord, GLenum name, GLint value);
void fglFogf(GLenum name, GLfloat value);
void fglFogi(GLenum name, GLint value);
void fglFogfv(GLenum name, const GLfloat* values);
void fglLightfv(GLenum light, GLenum name, const GLfloat* values);
void fglMaterialfv(GLenum face, GLenum name, const GLfloat* values);
void APIENTRY fglActiveTexture(GLenum unit);
void fglGetFloatv(GLenum name, GLfloat* values);
void fglGetIntegerv(GLenum name, GLint* values);

// Textures.
void fglGenTextures(GLsizei n, GLuint* names);
void fglDeleteTextures(GLsizei n, const GLuint* names);
void fglBindTexture(GLenum target, GLuint name);
void fglTexParameteri(GLenum target, GLenum name, GLint value);
void fglTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                   GLsizei height, GLint border, GLenum format, GLenum type, const void* pixels);
GLint fgluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height,
                         GLenum format, GLenum type, const void* data);

// Frame.
void fglClear(GLbitfield mask);
void fglFinish();
void fglFlush();
void fglPixelStorei(GLenum name, GLint value);
void fglReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                   void* pixels);
GLenum fglGetError();

// glActiveTextureARB and glClientActiveTextureARB (also without the ARB);
// null for any other name.
void* fglProcAddress(const char* name);
// Forgets every GL object of the layer (the context is going); the next call
// sets the layer up again on whatever context is current then.
void fglReset();
