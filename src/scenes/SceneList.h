// The show's scenes in one table: each row says how to make the scene, its
// name, and the order steps it plays. The schedule (shell/SceneSchedule.h),
// the show's end, the offline modes and the tests all follow it, so a new
// scene is its own files, a factory and a row here (docs/architecture.md,
// Recipes).
//
// Scenes are constructed in row order while the GL context is current (the
// row is the scene's index); they release their GL objects when destroyed,
// so the context must still be current then.
#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <vector>

class ShowClock;
class Scene;

using SceneFactory = std::unique_ptr<Scene> (*)(ShowClock& clock);

struct SceneEntry {
  const char* name;
  SceneFactory make;
  int firstStep;  // the order steps it plays, first to last
  int lastStep;
};

// The factories of the show's scenes (SceneList.cpp).
std::unique_ptr<Scene> makeArmsScene(ShowClock& clock);
std::unique_ptr<Scene> makeTunnelScene(ShowClock& clock);
std::unique_ptr<Scene> makeKnotScene(ShowClock& clock);
std::unique_ptr<Scene> makeFirstPhotoScene(ShowClock& clock);
std::unique_ptr<Scene> makeSecondPhotoScene(ShowClock& clock);
std::unique_ptr<Scene> makeScrollerScene(ShowClock& clock);
std::unique_ptr<Scene> makeColumnScene(ShowClock& clock);
std::unique_ptr<Scene> makeLogoScene(ShowClock& clock);

inline constexpr SceneEntry kShowScenes[] = {
    {"ArmsScene", makeArmsScene, 0, 3},
    {"TunnelScene", makeTunnelScene, 4, 5},
    {"KnotScene", makeKnotScene, 18, 19},
    {"FirstPhotoScene", makeFirstPhotoScene, 14, 15},
    {"SecondPhotoScene", makeSecondPhotoScene, 16, 17},
    {"ScrollerScene", makeScrollerScene, 6, 9},
    {"ColumnScene", makeColumnScene, 20, 22},
    {"LogoScene", makeLogoScene, 10, 13},
};

// A table of scenes: the show's, or one a test builds.
class SceneTable {
 public:
  template <size_t N>
  constexpr SceneTable(const SceneEntry (&rows)[N]) : rows_(rows), count_(int(N)) {}
  explicit SceneTable(const std::vector<SceneEntry>& rows)
      : rows_(rows.data()), count_(int(rows.size())) {}

  constexpr const SceneEntry* begin() const { return rows_; }
  constexpr const SceneEntry* end() const { return rows_ + count_; }
  constexpr int size() const { return count_; }
  constexpr const SceneEntry& operator[](int index) const { return rows_[index]; }

  // The last order step any scene plays: the show ends once the song
  // passes it.
  constexpr int lastStep() const {
    int last = -1;
    for (const SceneEntry& row : *this)
      if (row.lastStep > last) last = row.lastStep;
    return last;
  }
  // Every step from 0 to lastStep played by exactly one scene, each row's
  // steps in order: what a schedule needs, and checked while compiling.
  constexpr bool playsEveryStepOnceInOrder() const {
    for (const SceneEntry& row : *this)
      if (row.firstStep < 0 || row.lastStep < row.firstStep) return false;
    for (int step = 0; step <= lastStep(); ++step) {
      int players = 0;
      for (const SceneEntry& row : *this)
        if (step >= row.firstStep && step <= row.lastStep) ++players;
      if (players != 1) return false;
    }
    return count_ > 0;
  }
  // ...and a factory in every row. Not constexpr: comparing a function's
  // address with null is no constant expression under UBSan's checks.
  bool playsEveryStepOnce() const {
    for (const SceneEntry& row : *this)
      if (!row.make) return false;
    return playsEveryStepOnceInOrder();
  }

 private:
  const SceneEntry* rows_;
  int count_;
};

constexpr int kSceneCount = int(std::size(kShowScenes));
static_assert(SceneTable(kShowScenes).playsEveryStepOnceInOrder());

using SceneArray = std::vector<std::unique_ptr<Scene>>;
// Every scene of the table (the show's by default), in row order.
SceneArray constructScenes(ShowClock& clock);
SceneArray constructScenes(SceneTable table, ShowClock& clock);
// The show's scene `index` (0 to kSceneCount - 1) alone, for work on one
// scene; null for any other index.
std::unique_ptr<Scene> makeScene(int index, ShowClock& clock);
