#include "shell/ShowFrame.h"

#include <cstddef>

#include "clock/ShowClock.h"
#include "platform/Random.h"
#include "scenes/Scene.h"
#include "shell/Verbose.h"

bool ShowFrame::draw() {
  const int tested = clock_.songPosition();
  if (tested > SceneSchedule::kLastPlayedPosition) return false;

  // Only advances this thread's sequence, which the scenes draw from.
  if ((platform::rand() & 0xFF) > 200) platform::rand();

  // The music thread may have moved on since the test; past the table's end
  // the tested position stands in.
  int position = clock_.songPosition();
  if (position < 0 || position >= SceneSchedule::kPositions) position = tested;
  const int scene = schedule_.sceneAt(position);
  if (scene != scene_) {
    verboseLine("scene %d position %d seconds %.2f", scene, position, clock_.seconds());
    scene_ = scene;
  }
  scenes_[std::size_t(scene)]->render();
  return true;
}
