// The show's eight scenes, constructed in index order while the GL context is
// current. They are never destroyed: the process ends with them.
#pragma once

#include <array>
#include <cstddef>

class MusicSystem;
class Scene;

constexpr int kSceneCount = 8;
std::array<Scene*, kSceneCount> constructScenes(MusicSystem& music);
