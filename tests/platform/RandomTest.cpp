#include "platform/Random.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

std::vector<int> draw(int count) {
  std::vector<int> values;
  for (int i = 0; i < count; ++i) values.push_back(platform::rand());
  return values;
}

// The runtime's generator from its initial state 1; pictures and LFO
// waveforms depend on exactly these numbers.
const std::vector<int> kFromOne = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};

TEST(Random, FollowsTheRuntimeSequenceAndSrandRestartsIt) {
  platform::srand(1);
  EXPECT_EQ(draw(8), kFromOne);
  platform::srand(1);
  EXPECT_EQ(draw(8), kFromOne);
  platform::srand(0xFFFFFFFFu);
  for (int value : draw(1000)) {
    EXPECT_GE(value, 0);
    EXPECT_LE(value, platform::kRandMax);
  }
}

TEST(Random, EachThreadHasItsOwnSequenceStartingAtOne) {
  platform::srand(12345);
  draw(17);  // disturb the main thread's state
  std::vector<int> first, second;
  std::thread a([&] { first = draw(8); });
  std::thread b([&] {
    platform::srand(1);
    draw(3);
    second = draw(5);
  });
  a.join();
  b.join();
  EXPECT_EQ(first, kFromOne);
  EXPECT_EQ(second, std::vector<int>(kFromOne.begin() + 3, kFromOne.end()));
  // And the threads left this one alone.
  platform::srand(12345);
  std::vector<int> again = draw(20);
  platform::srand(12345);
  draw(17);
  std::vector<int> tail = draw(3);
  EXPECT_EQ(tail, std::vector<int>(again.begin() + 17, again.end()));
}

}  // namespace
