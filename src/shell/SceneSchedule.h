// Which scene plays at which song position: one-byte scene indices from a
// table of scenes (scenes/SceneList.h), so that the pictures follow the
// music whatever the frame rate. The show's table gives 24 entries, scenes
// 0, 1, 5, 7, 3, 4, 2, 6 over positions 0 to 23; the show plays up to 22.
#pragma once

#include <cstdint>
#include <vector>

#include "scenes/SceneList.h"

class SceneSchedule {
 public:
  // The last position the show plays; it ends once the song passes it.
  static constexpr int kLastPlayedPosition = SceneTable(kShowScenes).lastStep();
  // The entries: one past the last played position, for a clock that moves
  // on between the end test and the lookup.
  static constexpr int kPositions = kLastPlayedPosition + 2;

  // The show's schedule.
  SceneSchedule();
  // The schedule of a table that plays every step from 0 once
  // (SceneTable::playsEveryStepOnce); a step no row plays shows the scene
  // of the step before it.
  explicit SceneSchedule(SceneTable table);

  // The scene for a song position. Positions outside the entries take the
  // nearest one: nothing outside the table is ever read.
  int sceneAt(int position) const;
  // The table's last step.
  int lastPlayedPosition() const { return int(scenes_.size()) - 2; }

 private:
  std::vector<uint8_t> scenes_;
};
