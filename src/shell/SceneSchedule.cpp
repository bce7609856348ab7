#include "shell/SceneSchedule.h"

#include <cstddef>

SceneSchedule::SceneSchedule() : SceneSchedule(kShowScenes) {}

SceneSchedule::SceneSchedule(SceneTable table) {
  scenes_.assign(std::size_t(table.lastStep() + 2), 0);
  std::vector<bool> played(scenes_.size(), false);
  for (int scene = 0; scene < table.size(); ++scene)
    for (int position = table[scene].firstStep; position <= table[scene].lastStep; ++position) {
      if (position < 0) continue;
      scenes_[std::size_t(position)] = uint8_t(scene);
      played[std::size_t(position)] = true;
    }
  for (std::size_t position = 1; position < scenes_.size(); ++position)
    if (!played[position]) scenes_[position] = scenes_[position - 1];
}

int SceneSchedule::sceneAt(int position) const {
  if (position < 0) position = 0;
  if (position >= int(scenes_.size())) position = int(scenes_.size()) - 1;
  return scenes_[std::size_t(position)];
}
