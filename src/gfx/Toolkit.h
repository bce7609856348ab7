// The rendering toolkit: everything a scene builds at start-up and draws
// every frame.
//
// Overview
//   Vec3, Matrix3, Color   single-precision values; Color is stored blue,
//                          green, red, alpha but constructed red first.
//   Camera, drawScreenTint projection and view; the fullscreen fade quad.
//   Image                  the texture workbench: loadTexture for pictures,
//                          radialTexture and plasmaTexture for generated
//                          surfaces, each returning a new Texture that takes
//                          the Image's textureMode at the time of the call.
//   ImageOp, OpNode        the operator tree an Image evaluates (TgaSourceOp,
//                          RadialGradientOp, PlasmaOp, DistortOp).
//   Texture, TextureMode   the uploaded texture and how it gets coordinates.
//   SceneObject, World     placed, textured objects drawn in two passes
//                          (0 ordinary, 1 additive) through a Camera.
//   Mesh, VertexFunction   tube-like grids shaped by a function of time.
//   ParticleSystem         billboard particles the scene rewrites each frame.
//
// Glossary
//   packed     pixels as bytes red, green, blue, alpha, as given to OpenGL.
//   pass       which half of World::draw an object appears in.
//   texGen     GL coordinate generation (SphereMap, EyeLinear, ObjectLinear).
//
// How to use (with the GL context current, on its thread)
//   Image image(256, 256);
//   image.textureMode = TextureMode::FromNormals;
//   Texture* surface = image.plasmaTexture(...);
//   Mesh* mesh = new Mesh(100, 20, true, myVertexFunction);
//   mesh->setTexture(surface);
//   mesh->compile();
//   world.setCamera(&camera);
//   world.add(mesh, Vec3(0, 0, 0), 0, Vec3(1, 0, 0));
//   // every frame, inside glPushAttrib(GL_ALL_ATTRIB_BITS) / glPopAttrib():
//   camera.lookAt(eye, center, up);
//   world.draw();
//   drawScreenTint(1, 1, 1, fade);
//
// Arithmetic is single precision at every step; the double library functions
// are called explicitly and rounded at once. Plasmas draw platform::rand().
#pragma once

#include "gfx/Camera.h"
#include "gfx/Color.h"
#include "gfx/DistortOp.h"
#include "gfx/Image.h"
#include "gfx/Matrix3.h"
#include "gfx/Mesh.h"
#include "gfx/OpNode.h"
#include "gfx/PackColor.h"
#include "gfx/ParticleSystem.h"
#include "gfx/PlasmaOp.h"
#include "gfx/RadialGradientOp.h"
#include "gfx/SampleWrapped.h"
#include "gfx/SceneObject.h"
#include "gfx/ScreenTint.h"
#include "gfx/Texture.h"
#include "gfx/TextureMode.h"
#include "gfx/TgaSourceOp.h"
#include "gfx/Vec3.h"
#include "gfx/World.h"
