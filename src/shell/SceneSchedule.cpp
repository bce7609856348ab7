#include "shell/SceneSchedule.h"

#include <cstddef>

SceneSchedule::SceneSchedule() {
  struct Span {
    int first, last, scene;
  };
  static constexpr Span kSpans[] = {{0, 3, 0},   {4, 5, 1},   {6, 9, 5},   {10, 13, 7},
                                    {14, 15, 3}, {16, 17, 4}, {18, 19, 2}, {20, 23, 6}};
  for (const Span& span : kSpans)
    for (int position = span.first; position <= span.last; ++position)
      scenes_[std::size_t(position)] = uint8_t(span.scene);
}

int SceneSchedule::sceneAt(int position) const {
  if (position < 0) position = 0;
  if (position >= kPositions) position = kPositions - 1;
  return scenes_[std::size_t(position)];
}
