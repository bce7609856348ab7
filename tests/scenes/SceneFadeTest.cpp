// Fades, flashes and half-dark beats, measured on the drawn frames. Where a
// fade is partly through, the same frame is drawn by a second scene object
// whose clock started earlier, so that the two frames differ by the tint
// alone (time, beatPhase and the background zoom agree).
#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "SceneFixture.h"
#include "platform/Random.h"
#include "scenes/ArmsScene.h"
#include "scenes/KnotScene.h"
#include "scenes/LogoScene.h"
#include "scenes/Scene.h"
#include "scenes/SceneList.h"
#include "scenes/ScrollerScene.h"

TEST_F(SceneTest, FirstFramesAreCoveredByTheirFades) {
  const SceneArray scenes = constructScenes(clock);

  // Beat 2: no scene darkens the frame on it.
  EXPECT_TRUE(allPixels(frame(*scenes[0], 10.0, 2), 128, 204, 255, 1)) << "light blue";
  EXPECT_TRUE(allPixels(frame(*scenes[5], 10.0, 2), 0, 0, 0, 0)) << "from black";
  for (int white : {1, 2, 3, 4, 6, 7})
    EXPECT_TRUE(allPixels(frame(*scenes[size_t(white)], 10.0, 2), 255, 255, 255, 0))
        << "scene " << white << " flashes white";
}

TEST_F(SceneTest, ArmsTintIsHalfThroughAt20SecondsAndGoneAt40) {
  ArmsScene twenty(clock), forty(clock), hundred(clock);
  frame(twenty, 100.0, 3);
  frame(forty, 80.0, 3);
  frame(hundred, 20.0, 3);
  const std::vector<uint8_t> atTwenty = frame(twenty, 120.0, 3);
  const std::vector<uint8_t> atForty = frame(forty, 120.0, 3);
  const std::vector<uint8_t> atHundred = frame(hundred, 120.0, 3);

  EXPECT_TRUE(nearlyEqual(atForty, atHundred, 0)) << "no tint from 40 seconds on";
  EXPECT_TRUE(nearlyEqual(atTwenty, blendOver(atForty, 128, 204, 255, 0.5f), 2));
}

TEST_F(SceneTest, ScrollerFadesInFromBlackOverTwoSeconds) {
  ScrollerScene scroller(clock);
  EXPECT_EQ(brightest(frame(scroller, 10.0, 3)), 0);
  // Half way the tint halves everything; the white layer alone gives 0.5.
  EXPECT_LE(brightest(frame(scroller, 11.0, 3)), 128);
  EXPECT_GT(brightest(frame(scroller, 13.0, 3)), 140);
}

TEST_F(SceneTest, PhotoFadeLastsEightSeconds) {
  // `settled` started ten seconds earlier, so its fade is over; at the same
  // moment the two frames differ by the fading scene's tint alone.
  std::unique_ptr<Scene> fading = makeScene(3, clock), settled = makeScene(3, clock);
  frame(*settled, 10.0, 3);
  for (double local : {0.0, 1.0, 2.0, 4.0, 6.0, 7.5, 8.0, 9.0}) {
    const double now = 20.0 + local;
    const std::vector<uint8_t> reference = frame(*settled, now, 3);
    const float alpha = local < 8.0 ? float(1.0 - local / 8.0) : 0.0f;
    EXPECT_TRUE(nearlyEqual(frame(*fading, now, 3), blendOver(reference, 255, 255, 255, alpha), 2))
        << local << " s into the fade";
  }
}

TEST_F(SceneTest, ScrollerFlickerSpansItsRange) {
  // The layer's colour is 0.5 - (rand() % 100 x 0.002 - 0.001): from 0.501
  // down to 0.303. Over the black scroller, pixels no spark reaches show it.
  auto seedWhoseFirstDrawEnds = [](int remainder) {
    for (uint32_t seed = 1;; ++seed) {
      platform::srand(seed);
      if (platform::rand() % 100 == remainder) return seed;
    }
  };
  ScrollerScene scroller(clock);
  frame(scroller, 10.0, 3);
  const std::pair<int, int> cases[] = {{0, 128}, {50, 102}, {99, 77}};  // 255 x colour
  for (const auto& [remainder, level] : cases) {
    at(13.0, 3);  // the fade is over
    platform::srand(seedWhoseFirstDrawEnds(remainder));
    scroller.render();
    const std::vector<uint8_t> pixels = readPixels();
    EXPECT_NEAR(*std::min_element(pixels.begin(), pixels.end()), level, 1)
        << "rand() % 100 = " << remainder;
  }
}

TEST_F(SceneTest, WhiteFlashesAreHalfThroughAfterHalfASecond) {
  KnotScene knotEarly(clock), knotLate(clock);
  LogoScene logoEarly(clock), logoLate(clock);
  frame(knotEarly, 10.0, 2);
  frame(knotLate, 9.0, 2);
  frame(logoEarly, 10.0, 2);
  frame(logoLate, 9.0, 2);
  EXPECT_TRUE(nearlyEqual(frame(knotEarly, 10.5, 2),
                          blendOver(frame(knotLate, 10.5, 2), 255, 255, 255, 0.5f), 2));
  EXPECT_TRUE(nearlyEqual(frame(logoEarly, 10.5, 2),
                          blendOver(frame(logoLate, 10.5, 2), 255, 255, 255, 0.5f), 2));
}

class HalfDarkBeats : public SceneTest {
 protected:
  template <typename SceneType>
  std::vector<uint8_t> at12(int beat, int firstBeat) {
    SceneType scene(clock);
    frame(scene, 10.0, firstBeat);
    return frame(scene, 12.0, beat);
  }
};

TEST_F(HalfDarkBeats, KnotSceneDarkensOnTwoBeatsOfEight) {
  // Beats 0, 1, 2, 8, 9, 10 advance beatPhase alike, so they differ only in
  // the darkening.
  const std::vector<uint8_t> bright = at12<KnotScene>(2, 2);
  EXPECT_TRUE(nearlyEqual(at12<KnotScene>(10, 2), bright, 0));
  for (int beat : {0, 1, 8, 9})
    EXPECT_TRUE(nearlyEqual(at12<KnotScene>(beat, 2), blendOver(bright, 0, 0, 0, 0.5f), 1))
        << "beat " << beat;
}

TEST_F(HalfDarkBeats, LogoSceneDarkensOnTwoBeatsOfEight) {
  // Beats 0, 1, 4, 5, 8, 9 advance beatPhase alike; the test logo is clear.
  const std::vector<uint8_t> bright = at12<LogoScene>(4, 4);
  EXPECT_TRUE(nearlyEqual(at12<LogoScene>(5, 4), bright, 0));
  for (int beat : {0, 1, 8, 9})
    EXPECT_TRUE(nearlyEqual(at12<LogoScene>(beat, 4), blendOver(bright, 0, 0, 0, 0.5f), 1))
        << "beat " << beat;
}
