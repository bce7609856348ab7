// Where the picture goes on surfaces of every shape the show meets: the
// numbers a capture, a screenshot and a fitted window all draw with.
#include "base/PictureBox.h"

#include <gtest/gtest.h>

namespace {

TEST(PictureBox, TheLargestCentred4By3BoxInWholePixels) {
  struct Case {
    int width, height;
    PictureBox box;
  };
  const Case cases[] = {
      {640, 480, {0, 0, 640, 480}},          // the designed window: all picture
      {1280, 720, {160, 0, 960, 720}},       // a window resized to 720p
      {1920, 1080, {240, 0, 1440, 1080}},    // the capture's 1080p
      {1366, 768, {171, 0, 1024, 768}},      // a common laptop screen
      {3840, 1600, {853, 0, 2133, 1600}},    // ultra-wide: 2133.33 truncated
      {480, 640, {0, 140, 480, 360}},        // portrait: bars above and below
      {8192, 8192, {0, 1024, 8192, 6144}},   // the largest frame asked for
      {641, 481, {0, 0, 641, 480}},          // 480.75 rows truncated; odd bar
      {3, 2, {0, 0, 3, 2}},                  // tiny, but still a picture
      {1, 1, {0, 0, 1, 1}},                  // the formula alone gives 1x0
      {1, 1000, {0, 499, 1, 1}},
      {0, 0, {0, 0, 1, 1}},                  // a minimised window counts as 1x1
      {-5, 300, {0, 149, 1, 1}},
  };
  for (const Case& c : cases) {
    const PictureBox box = fitPicture(c.width, c.height);
    EXPECT_EQ(box.x, c.box.x) << c.width << "x" << c.height;
    EXPECT_EQ(box.y, c.box.y) << c.width << "x" << c.height;
    EXPECT_EQ(box.width, c.box.width) << c.width << "x" << c.height;
    EXPECT_EQ(box.height, c.box.height) << c.width << "x" << c.height;
  }
}

}  // namespace
