#include "scenes/Scene.h"

#include "gfx/ScreenTint.h"
#include "gfx/Texture.h"
#include "music/MusicSystem.h"

Scene::Scene(MusicSystem& music) : music(music) {}

Scene::~Scene() = default;

void Scene::render() {}

void Scene::startClock() {
  if (!started) {
    startTime = float(music.seconds());
    started = true;
  }
}

void Scene::updateClock(float beatFactor) {
  frameStep = lastTime - float(music.seconds());
  lastTime = float(music.seconds());
  beatPhase += frameStep * beatFactor;
}

float Scene::standardBeatFactor() { return (music.beat() & 7) > 2 ? 0.5f : 2.0f; }

float Scene::localTime() { return float(music.seconds()) - startTime; }

void Scene::fadeIn(float red, float green, float blue, float length) {
  // The test and the alpha read the clock separately, as the live show does.
  if (localTime() < length) drawScreenTint(red, green, blue, 1.0f - localTime() * (1.0f / length));
}

Texture* Scene::keep(const char* name, Texture* texture) {
  ownedTextures_.emplace_back(texture);
  textureNames_.push_back({name, texture});
  return texture;
}
