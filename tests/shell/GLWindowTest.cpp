// GLWindow on a real GL context (SDL's offscreen driver on llvmpipe), its
// messages coming through the platform's pump or straight to its procedure.
#include "shell/GLWindow.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "platform/Gl.h"
#include "platform/Window.h"
#include "platform/sdl/SdlWindow.h"

namespace {

namespace msg = platform::msg;

class GLWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { window = std::make_unique<GLWindow>(640, 480, false); }

  intptr_t send(uint32_t message, uintptr_t wParam, intptr_t lParam = 0) {
    return GLWindow::windowProcedure(window.get(), window->window(), message, wParam, lParam);
  }
  void pushWindowEvent(Uint8 what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(window->window()->sdl);
    event.window.event = what;
    SDL_PushEvent(&event);
  }
  void pushKey(Uint32 type, SDL_Keycode key) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = SDL_GetWindowID(window->window()->sdl);
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
  }

  std::unique_ptr<GLWindow> window;
};

void expectStandardProjection() {
  GLfloat m[16];
  glGetFloatv(GL_PROJECTION_MATRIX, m);
  // gluPerspective(90, 4/3, 0.1, 100): cot(45 degrees) = 1.
  EXPECT_FLOAT_EQ(m[0], 0.75f);
  EXPECT_FLOAT_EQ(m[5], 1.0f);
  EXPECT_FLOAT_EQ(m[10], float(-100.1 / 99.9));
  EXPECT_FLOAT_EQ(m[11], -1.0f);
  EXPECT_FLOAT_EQ(m[14], float(-20.0 / 99.9));
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
}

void expectViewport(int width, int height) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 0);
  EXPECT_EQ(viewport[1], 0);
  EXPECT_EQ(viewport[2], width);
  EXPECT_EQ(viewport[3], height);
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

// The picture's box: viewport and scissor, the projection as ever.
void expectBox(int x, int y, int width, int height) {
  GLint viewport[4], scissor[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetIntegerv(GL_SCISSOR_BOX, scissor);
  const GLint expected[4] = {x, y, width, height};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(viewport[i], expected[i]) << "viewport " << i;
    EXPECT_EQ(scissor[i], expected[i]) << "scissor " << i;
  }
  EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
  expectStandardProjection();
}

TEST_F(GLWindowTest, OpensAFramed640x480WindowWithTheStandardPerspective) {
  int width = 0, height = 0;
  platform::clientSize(window->window(), &width, &height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  EXPECT_FALSE(window->fullscreen());
  EXPECT_TRUE(window->active());
  EXPECT_FALSE(window->quitRequested());
  EXPECT_EQ(platform::windowTitle(window->window()), "");
  expectViewport(640, 480);
  expectStandardProjection();
}

TEST_F(GLWindowTest, AFullscreenRequestTheDisplayRefusesGivesAFramedWindow) {
  window.reset();
  // The offscreen display has no 640x480 mode.
  window = std::make_unique<GLWindow>(640, 480, true);
  EXPECT_FALSE(window->fullscreen());
  EXPECT_EQ(SDL_GetWindowFlags(window->window()->sdl) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_BORDERLESS), 0u);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  int width = 0, height = 0;
  platform::clientSize(window->window(), &width, &height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
}

TEST_F(GLWindowTest, ResizeTakesHeightZeroAsOneAndKeepsTheAspect) {
  EXPECT_EQ(send(msg::Size, 0, platform::makeSizeParam(1000, 300)), 0);
  expectViewport(1000, 300);
  expectStandardProjection();
  window->resize(320, 0);
  expectViewport(320, 1);
  expectStandardProjection();
  // Minimising, through the pump: Windows reports 0 by 0, and inactive.
  pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
  platform::pumpMessages();
  expectViewport(0, 1);
  EXPECT_FALSE(window->active());
  pushWindowEvent(SDL_WINDOWEVENT_RESTORED);
  platform::pumpMessages();
  expectViewport(640, 480);
  EXPECT_TRUE(window->active());
}

TEST_F(GLWindowTest, EscapeQuitsOtherKeysOnlyMarkTheKeyTable) {
  EXPECT_EQ(send(msg::KeyDown, 'A'), 0);
  EXPECT_TRUE(window->keyDown('A'));
  EXPECT_FALSE(window->quitRequested());
  EXPECT_EQ(send(msg::KeyUp, 'A'), 0);
  EXPECT_FALSE(window->keyDown('A'));
  // A code the table has no room for is not stored anywhere.
  EXPECT_EQ(send(msg::KeyDown, 0x40000039), 0);
  EXPECT_FALSE(window->quitRequested());
  // Through the pump, as a real key press arrives.
  pushKey(SDL_KEYDOWN, SDLK_SPACE);
  platform::pumpMessages();
  EXPECT_TRUE(window->keyDown(platform::kVkSpace));
  EXPECT_FALSE(window->quitRequested());
  pushKey(SDL_KEYDOWN, SDLK_ESCAPE);
  platform::pumpMessages();
  EXPECT_TRUE(window->keyDown(platform::kVkEscape));
  EXPECT_TRUE(window->quitRequested());
}

// A fitted window 800 pixels wide: what a scene clears (white here) fills
// the centred 640x480 box, the bars stay black, read back from the window.
TEST_F(GLWindowTest, AFittedWindowDrawsInTheBoxBetweenBlackBars) {
  window.reset();
  GLWindow::Screen screen;
  screen.fit = true;
  window = std::make_unique<GLWindow>(800, 480, false, screen);
  EXPECT_TRUE(window->fitsPicture());
  expectBox(80, 0, 640, 480);
  for (int frame = 0; frame < 2; ++frame) {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    std::vector<uint8_t> row(800 * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 240, 800, 1, GL_RGB, GL_UNSIGNED_BYTE, row.data());
    for (int x : {0, 79, 80, 400, 719, 720, 799})
      EXPECT_EQ(row[size_t(x) * 3], (x >= 80 && x < 720) ? 255 : 0) << "column " << x;
    window->endFrame();
  }
  // The box follows the window's size messages (pixels) and a minimised 0 by 0.
  send(msg::Size, 0, platform::makeSizeParam(1280, 720));
  expectBox(160, 0, 960, 720);
  send(msg::Size, 0, platform::makeSizeParam(480, 640));
  expectBox(0, 140, 480, 360);
  send(msg::Size, 0, platform::makeSizeParam(0, 0));
  expectBox(0, 0, 1, 1);
}

// F11 or F, through the pump as a user presses them: desktop fullscreen at the
// display's size (offscreen: 1024x768), the picture fitted, the cursor hidden;
// again, and the framed window is back with the designed viewport. A held
// key's repeats switch nothing.
TEST_F(GLWindowTest, F11AndFSwitchBetweenTheWindowAndDesktopFullscreen) {
  for (SDL_Keycode key : {SDLK_F11, SDLK_f}) {
    pushKey(SDL_KEYDOWN, key);
    window->endFrame();
    EXPECT_TRUE(window->desktopFullscreen()) << SDL_GetKeyName(key);
    EXPECT_FALSE(window->fullscreen());
    EXPECT_NE(SDL_GetWindowFlags(window->window()->sdl) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    expectBox(0, 0, 1024, 768);
    send(msg::KeyDown, platform::kVkF11, 1 << 30);  // auto-repeat
    pushKey(SDL_KEYUP, key);
    window->endFrame();
    EXPECT_TRUE(window->desktopFullscreen());

    pushKey(SDL_KEYDOWN, key);
    pushKey(SDL_KEYUP, key);
    window->endFrame();
    EXPECT_FALSE(window->desktopFullscreen());
    EXPECT_EQ(SDL_GetWindowFlags(window->window()->sdl) & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    int width = 0, height = 0;
    platform::clientSize(window->window(), &width, &height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    expectViewport(640, 480);
    EXPECT_FALSE(window->quitRequested());
  }
}

TEST_F(GLWindowTest, StartsInDesktopFullscreenWithoutAModeChange) {
  window.reset();
  GLWindow::Screen screen;
  screen.desktopFullscreen = true;
  window = std::make_unique<GLWindow>(640, 480, true, screen);
  EXPECT_TRUE(window->desktopFullscreen());
  EXPECT_FALSE(window->fullscreen());
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  expectBox(0, 0, 1024, 768);
  window->destroy();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(GLWindowTest, CloseQuits) {
  pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  platform::pumpMessages();
  EXPECT_TRUE(window->quitRequested());
}

TEST_F(GLWindowTest, RefusesScreenSaverAndMonitorPowerDown) {
  EXPECT_FALSE(SDL_IsScreenSaverEnabled());
  EXPECT_EQ(send(msg::SysCommand, platform::kScScreenSave), 0);
  EXPECT_EQ(send(msg::SysCommand, platform::kScMonitorPower, 2), 0);
  EXPECT_FALSE(SDL_IsScreenSaverEnabled());
  // The same request, passed on by default processing, would start it.
  platform::defaultProcedure(window->window(), msg::SysCommand, platform::kScScreenSave, 0);
  EXPECT_TRUE(SDL_IsScreenSaverEnabled());
  // The window is asked again whenever it gets the focus.
  pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  platform::pumpMessages();
  EXPECT_FALSE(SDL_IsScreenSaverEnabled());
}

TEST_F(GLWindowTest, TheTitleShowsTheRateOnSixteenFramesOfEvery128) {
  const std::regex readout("fps: [0-9]+");
  int shown = 0;
  for (int frame = 0; frame < 128; ++frame) {
    platform::setWindowTitle(window->window(), "-");
    const uint32_t counter = GLWindow::frameCounter();
    window->endFrame();
    EXPECT_EQ(GLWindow::frameCounter(), counter + 1);
    const std::string title = platform::windowTitle(window->window());
    const bool expected = (counter & 0x46) == 0;
    EXPECT_EQ(title != "-", expected) << "frame counter " << counter;
    if (expected) {
      EXPECT_TRUE(std::regex_match(title, readout)) << title;
      ++shown;
    }
  }
  EXPECT_EQ(shown, 16);
  EXPECT_TRUE(GLWindow::showsRateOnFrame(0));
  EXPECT_TRUE(GLWindow::showsRateOnFrame(1));
  EXPECT_FALSE(GLWindow::showsRateOnFrame(2));
  EXPECT_TRUE(GLWindow::showsRateOnFrame(57));
  EXPECT_FALSE(GLWindow::showsRateOnFrame(64));
}

TEST_F(GLWindowTest, DestroyFreesEverythingAndCanBeRepeated) {
  window->destroy();
  EXPECT_EQ(window->window(), nullptr);
  window->destroy();
  // The class can be registered again: a second window works.
  GLWindow second(640, 480, false);
  EXPECT_NE(second.window(), nullptr);
}

}  // namespace
