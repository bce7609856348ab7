// The show's eight scenes, constructed in index order while the GL context is
// current; they release their GL objects when destroyed, so the context must
// still be current then.
#pragma once

#include <array>
#include <cstddef>
#include <memory>

class ShowClock;
class Scene;

constexpr int kSceneCount = 8;
using SceneArray = std::array<std::unique_ptr<Scene>, kSceneCount>;
SceneArray constructScenes(ShowClock& clock);
// Scene `index` (0 to kSceneCount - 1) alone, for work on one scene.
std::unique_ptr<Scene> makeScene(int index, ShowClock& clock);
