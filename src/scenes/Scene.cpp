#include "scenes/Scene.h"

#include "clock/ShowClock.h"
#include "gfx/ScreenTint.h"
#include "gfx/Texture.h"
#include "platform/Gl.h"

Scene::Scene(ShowClock& clock) : clock(clock) {}

Scene::~Scene() = default;

void Scene::render() {}

Scene::Frame::Frame(Scene& scene, float red, float green, float blue) {
  scene.startClock();
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glClearColor(red, green, blue, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
}

Scene::Frame::~Frame() { glPopAttrib(); }

void Scene::startClock() {
  if (!started) {
    startTime = float(clock.seconds());
    started = true;
  }
}

void Scene::updateClock(float beatFactor) {
  frameStep = lastTime - float(clock.seconds());
  lastTime = float(clock.seconds());
  beatPhase += frameStep * beatFactor;
}

float Scene::standardBeatFactor() { return (clock.beat() & 7) > 2 ? 0.5f : 2.0f; }

float Scene::localTime() { return float(clock.seconds()) - startTime; }

void Scene::fadeIn(float red, float green, float blue, float length) {
  // The test and the alpha read the clock separately, as the live show does.
  if (localTime() < length) drawScreenTint(red, green, blue, 1.0f - localTime() * (1.0f / length));
}

Texture* Scene::keep(const char* name, Texture* made) {
  ownedTextures_.emplace_back(made);
  textureNames_.push_back({name, made});
  return made;
}
