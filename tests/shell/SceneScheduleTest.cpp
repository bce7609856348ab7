#include "shell/SceneSchedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(SceneSchedule, PlaysTheScenesInTheShowsOrder) {
  const SceneSchedule schedule;
  const std::vector<int> expected = {0, 0, 0, 0, 1, 1, 5, 5, 5, 5, 7, 7,
                                     7, 7, 3, 3, 4, 4, 2, 2, 6, 6, 6, 6};
  std::vector<int> got;
  for (int position = 0; position < SceneSchedule::kPositions; ++position)
    got.push_back(schedule.sceneAt(position));
  EXPECT_EQ(got, expected);
}

TEST(SceneSchedule, PositionsOutsideTheTableTakeTheNearestEntry) {
  const SceneSchedule schedule;
  EXPECT_EQ(schedule.sceneAt(-1), 0);
  EXPECT_EQ(schedule.sceneAt(-2147483647 - 1), 0);
  EXPECT_EQ(schedule.sceneAt(24), 6);
  EXPECT_EQ(schedule.sceneAt(2147483647), 6);
}

}  // namespace
