// The show's eight scenes, constructed in index order while the GL context is
// current. They are never destroyed: the process ends with them.
#pragma once

#include <array>
#include <cstddef>
#include <memory>

class ShowClock;
class Scene;

constexpr int kSceneCount = 8;
std::array<Scene*, kSceneCount> constructScenes(ShowClock& clock);
// Scene `index` (0 to kSceneCount - 1) alone, for work on one scene.
std::unique_ptr<Scene> makeScene(int index, ShowClock& clock);
