// Golden frames: every scene drawn at full size from its first frame on at a
// fixed frame rate, its frames at three moments compared with stored hashes.
// Any change to what a scene draws fails here under the scene's name; work
// that must not change the pictures (faster drawing, restructuring) proves
// itself against these. The pictures are patterned, with varying alpha, so
// that every picture pass shows where and how it lands.
//
// After a deliberate change of the look, run with KYL_PRINT_GOLDENS=1 to
// print the new table.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "ShowWindowState.h"
#include "TestPictures.h"
#include "clock/VirtualClock.h"
#include "gfx/HiddenGlContext.h"
#include "platform/Gl.h"
#include "platform/Random.h"
#include "scenes/Scene.h"
#include "scenes/SceneList.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
// The scene's first frame is drawn at this moment of the show.
constexpr double kFirstSeconds = 10.0;
constexpr int kFramesPerSecond = 5;
// Frames (counted from the scene's first) whose pixels are checked: the
// first, 0.6 seconds in (the one-second fades part way) and 2.4 seconds in.
constexpr int kCheckedFrames[3] = {0, 3, 12};

// A different pattern in every picture, alpha included.
uint32_t patterned(const std::string& name, int x, int y) {
  unsigned hash = 0;
  for (unsigned char c : name) hash = hash * 31 + c;
  const int k = int(hash & 0xFF);
  const int alpha = ((x / 64 + y / 64) % 2) ? 255 : ((x + y + k) / 4) & 0xFF;
  return rgba((x + k) & 0xFF, (2 * y + 3 * k) & 0xFF, ((x ^ y) + k) & 0xFF, alpha);
}

// 64-bit FNV-1a.
uint64_t hashOf(const std::vector<uint8_t>& bytes) {
  uint64_t h = 14695981039346656037ull;
  for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
  return h;
}

// One scene's stored frames, by the name of its row in the show's table.
struct Golden {
  const char* name;
  uint64_t hashes[3];
};

const Golden kGoldens[] = {
    {"ArmsScene", {0x13b487c5c2af3709ull, 0x6b440670cf8b138aull, 0x2573ce929af640faull}},
    {"TunnelScene", {0xb3f01229fd7df325ull, 0x342ffa155a044c9bull, 0x9810685248ca9b1bull}},
    {"KnotScene", {0xb3f01229fd7df325ull, 0xb4343c78f2804ee6ull, 0x19de0a4d1918dcc5ull}},
    {"FirstPhotoScene", {0xb3f01229fd7df325ull, 0x6e7a08b96eb599ddull, 0xe0b3a5b45056a95eull}},
    {"SecondPhotoScene", {0xb3f01229fd7df325ull, 0xa5fe95b364925586ull, 0xbee3dbcf4b8cd641ull}},
    {"ScrollerScene", {0x4bd87a07a4536325ull, 0x91c44bed3e5fbacaull, 0xf05f0ffba0e360c4ull}},
    {"ColumnScene", {0xb3f01229fd7df325ull, 0xf740249401b24064ull, 0x0a3675b24120a5e4ull}},
    {"LogoScene", {0xb3f01229fd7df325ull, 0x006cf2f3ac667d00ull, 0xc90effdccc5ce5b2ull}},
};

const Golden* goldenOf(const char* name) {
  for (const Golden& golden : kGoldens)
    if (std::string(golden.name) == name) return &golden;
  return nullptr;
}

// The cases are the show's scenes: one without stored frames fails.
struct ShowScene {
  int index;
};

// How the test lists name a case: by its scene.
void PrintTo(const ShowScene& scene, std::ostream* out) { *out << kShowScenes[scene.index].name; }

std::vector<ShowScene> showScenes() {
  std::vector<ShowScene> scenes;
  for (int i = 0; i < kSceneCount; ++i) scenes.push_back({i});
  return scenes;
}

class SceneGoldens : public ::testing::TestWithParam<ShowScene> {
 public:
  static void SetUpTestSuite() {
    static HiddenGlContext* context = nullptr;
    if (context) return;
    std::string error;
    if (!enterTestShowFolder("kyl-scene-goldens", patterned, &error))
      FAIL() << "cannot write the pictures: " << error;
    context = new HiddenGlContext(kWidth, kHeight);
  }

 protected:
  void SetUp() override { enterShowWindowState(kWidth, kHeight); }
  void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }

  VirtualClock clock;
};

// Draws the scene's frames up to the last checked one and compares the
// checked ones with the stored hashes.
TEST_P(SceneGoldens, FramesAreUnchanged) {
  const int index = GetParam().index;
  const char* const name = kShowScenes[index].name;
  const Golden* const stored = goldenOf(name);
  const Golden golden = stored ? *stored : Golden{name, {}};
  if (!stored) ADD_FAILURE() << name << " has no stored frames (KYL_PRINT_GOLDENS=1 prints them)";
  std::unique_ptr<Scene> scene = makeScene(index, clock);
  ASSERT_TRUE(scene);
  platform::srand(1);
  uint64_t actual[3] = {};
  int checked = 0;
  for (int k = 0; k <= kCheckedFrames[2]; ++k) {
    const double seconds = kFirstSeconds + double(k) / kFramesPerSecond;
    // The heard ticks a tempo of 100 gives (826 frames per tick).
    clock.set(seconds, uint32_t(seconds * 44100.0 / 826.0));
    scene->render();
    if (k != kCheckedFrames[checked]) continue;
    actual[checked] = hashOf(readBackFrame(kWidth, kHeight));
    EXPECT_EQ(actual[checked], golden.hashes[checked])
        << golden.name << " (scene " << index << ") differs at frame " << k << ", "
        << k * 1000 / kFramesPerSecond << " ms into the scene";
    ++checked;
  }
  if (std::getenv("KYL_PRINT_GOLDENS"))
    std::printf("    {\"%s\", {0x%016" PRIx64 "ull, 0x%016" PRIx64 "ull, 0x%016" PRIx64
                "ull}},\n",
                golden.name, actual[0], actual[1], actual[2]);
}

INSTANTIATE_TEST_SUITE_P(EveryScene, SceneGoldens, ::testing::ValuesIn(showScenes()),
                         [](const ::testing::TestParamInfo<ShowScene>& info) {
                           return std::string(kShowScenes[info.param.index].name);
                         });

}  // namespace
