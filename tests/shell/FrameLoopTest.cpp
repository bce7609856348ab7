// The show's frame loop one iteration at a time (showFrame) in a real window
// on SDL's offscreen driver, on a virtual clock, with keys coming through
// SDL's event queue as on the desktop.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "clock/VirtualClock.h"
#include "platform/Window.h"
#include "platform/sdl/SdlWindow.h"
#include "scenes/Scene.h"
#include "scenes/SceneList.h"
#include "shell/DemoMain.h"
#include "shell/GLWindow.h"
#include "shell/ShowFrame.h"

namespace {

using Clock = std::chrono::steady_clock;

// A scene that only counts its frames.
class CountingScene : public Scene {
 public:
  using Scene::Scene;
  void render() override { ++frames; }
  int frames = 0;
};

class FrameLoopTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kTicksPerStep = 16;

  void SetUp() override {
    window = std::make_unique<GLWindow>(640, 480, false);
    for (int i = 0; i < kSceneCount; ++i) scenes.push_back(std::make_unique<CountingScene>(clock));
  }

  int framesOf(int scene) const { return static_cast<CountingScene&>(*scenes[scene]).frames; }

  void pushKey(Uint32 type, SDL_Keycode key, bool repeat) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = SDL_GetWindowID(window->window()->sdl);
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }

  // One iteration; its duration in seconds.
  double timedFrame(bool* more) {
    const Clock::time_point start = Clock::now();
    *more = showFrame(*window, frame);
    return std::chrono::duration<double>(Clock::now() - start).count();
  }

  VirtualClock clock{kTicksPerStep, 0};
  std::unique_ptr<GLWindow> window;
  SceneArray scenes;
  ShowFrame frame{clock, scenes};
};

// Holding the space bar, the keyboard sends one key-down and then repeated
// key-downs with `repeat` set: every frame while they come is slowed by the
// 200 ms pause (the pictures slow down, the music goes on); the key-up ends
// it.
TEST_F(FrameLoopTest, HoldingSpaceSlowsEveryFrameWhileTheKeyRepeats) {
  bool more = false;
  pushKey(SDL_KEYDOWN, SDLK_SPACE, false);
  EXPECT_GE(timedFrame(&more), 0.2) << "the press";
  EXPECT_TRUE(more);
  for (int repeat = 1; repeat <= 3; ++repeat) {
    pushKey(SDL_KEYDOWN, SDLK_SPACE, true);
    EXPECT_GE(timedFrame(&more), 0.2) << "repeat " << repeat;
    EXPECT_TRUE(platform::asyncKeyDown(platform::kVkSpace)) << "repeat " << repeat;
  }
  pushKey(SDL_KEYUP, SDLK_SPACE, false);
  timedFrame(&more);
  EXPECT_FALSE(platform::asyncKeyDown(platform::kVkSpace));
  EXPECT_EQ(framesOf(0), 5);
}

// The loop's exits: past the last played position nothing is drawn; Escape
// ends the loop at the next iteration.
TEST_F(FrameLoopTest, EndsPastPosition22BeforeDrawingAndAfterEscape) {
  clock.set(1.0, 22 * kTicksPerStep + kTicksPerStep - 1);  // still 22
  EXPECT_TRUE(showFrame(*window, frame));
  EXPECT_EQ(framesOf(6), 1);
  clock.set(1.1, 23 * kTicksPerStep);
  EXPECT_FALSE(showFrame(*window, frame));
  EXPECT_EQ(framesOf(6), 1) << "a frame was drawn at position 23";

  clock.set(0.0, 0);
  pushKey(SDL_KEYDOWN, SDLK_ESCAPE, false);
  EXPECT_TRUE(showFrame(*window, frame));  // the key arrives at this frame's end
  EXPECT_FALSE(showFrame(*window, frame));
  EXPECT_EQ(framesOf(0), 1);
}

}  // namespace
