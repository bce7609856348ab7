// The OpenGL 1.1 and GLU names, mapped onto the fixed-function layer. Only
// platform/Gl.h includes this, for builds that draw through the layer; the
// layer's own sources never do, since they call OpenGL ES by these names.
#pragma once

#include "glfixed/FixedGl.h"

#define glMatrixMode fglMatrixMode
#define glLoadIdentity fglLoadIdentity
#define glLoadMatrixf fglLoadMatrixf
#define glMultMatrixf fglMultMatrixf
#define glPushMatrix fglPushMatrix
#define glPopMatrix fglPopMatrix
#define glTranslatef fglTranslatef
#define glRotatef fglRotatef
#define glScalef fglScalef
#define glOrtho fglOrtho
#define glFrustum fglFrustum
#define gluPerspective fgluPerspective
#define gluOrtho2D fgluOrtho2D
#define gluLookAt fgluLookAt
#define glBegin fglBegin
#define glEnd fglEnd
#define glVertex2f fglVertex2f
#define glVertex3f fglVertex3f
#define glColor3f fglColor3f
#define glColor4f fglColor4f
#define glNormal3f fglNormal3f
#define glTexCoord2f fglTexCoord2f
#define glEnableClientState fglEnableClientState
#define glDisableClientState fglDisableClientState
#define glVertexPointer fglVertexPointer
#define glNormalPointer fglNormalPointer
#define glTexCoordPointer fglTexCoordPointer
#define glClientActiveTexture fglClientActiveTexture
#define glDrawElements fglDrawElements
#define glDrawArrays fglDrawArrays
#define glGenLists fglGenLists
#define glNewList fglNewList
#define glEndList fglEndList
#define glCallList fglCallList
#define glDeleteLists fglDeleteLists
#define glEnable fglEnable
#define glDisable fglDisable
#define glIsEnabled fglIsEnabled
#define glPushAttrib fglPushAttrib
#define glPopAttrib fglPopAttrib
#define glBlendFunc fglBlendFunc
#define glDepthMask fglDepthMask
#define glDepthFunc fglDepthFunc
#define glAlphaFunc fglAlphaFunc
#define glShadeModel fglShadeModel
#define glClearColor fglClearColor
#define glViewport fglViewport
#define glScissor fglScissor
#define glTexEnvf fglTexEnvf
#define glTexEnvi fglTexEnvi
#define glTexGeni fglTexGeni
#define glFogf fglFogf
#define glFogi fglFogi
#define glFogfv fglFogfv
#define glLightfv fglLightfv
#define glMaterialfv fglMaterialfv
#define glActiveTexture fglActiveTexture
#define glGetFloatv fglGetFloatv
#define glGetIntegerv fglGetIntegerv
#define glGenTextures fglGenTextures
#define glDeleteTextures fglDeleteTextures
#define glBindTexture fglBindTexture
#define glTexParameteri fglTexParameteri
#define glTexImage2D fglTexImage2D
#define gluBuild2DMipmaps fgluBuild2DMipmaps
#define glClear fglClear
#define glFinish fglFinish
#define glFlush fglFlush
#define glPixelStorei fglPixelStorei
#define glReadPixels fglReadPixels
#define glGetError fglGetError
