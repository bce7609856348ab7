#include "scenes/SceneList.h"

#include "platform/Gl.h"
#include "scenes/Scene.h"

namespace {
// Stands in until the real scenes land: clears to a colour per index.
class PlaceholderScene : public Scene {
 public:
  PlaceholderScene(MusicSystem& music, int index) : Scene(music), index_(index) {}
  void render() override {
    glClearColor(0.1f * float(index_), 0.0f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }

 private:
  int index_;
};
}  // namespace

std::array<Scene*, kSceneCount> constructScenes(MusicSystem& music) {
  std::array<Scene*, kSceneCount> scenes{};
  for (int i = 0; i < kSceneCount; ++i) scenes[std::size_t(i)] = new PlaceholderScene(music, i);
  return scenes;
}
