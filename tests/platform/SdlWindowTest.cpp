// The SDL backend through its real calls on the offscreen driver: SDL events
// pushed into SDL's queue must reach the window procedure as the Win32
// messages, with Win32's numbers and packing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Gl.h"
#include "platform/Window.h"
#include "platform/sdl/SdlWindow.h"

namespace {

struct Message {
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};

struct Recorder {
  std::vector<Message> messages;
  bool passScreenSaverOn = false;
};

intptr_t recordingProcedure(void* user, platform::WindowHandle window, uint32_t message,
                            uintptr_t wParam, intptr_t lParam) {
  auto* recorder = static_cast<Recorder*>(user);
  recorder->messages.push_back({message, wParam, lParam});
  if (message == platform::msg::SysCommand && recorder->passScreenSaverOn)
    return platform::defaultProcedure(window, message, wParam, lParam);
  return 0;
}

class SdlWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::registerWindowClass("Test", &recordingProcedure);
    window = platform::createWindow("Test", "", platform::WindowStyle::OverlappedFramed, 0, 0,
                                    640, 480);
    context = platform::createGLContext(window, 32, 32);
    platform::showWindow(window);
    platform::pumpMessages();  // creation's own events, before the procedure
    platform::setWindowProcedure(window, &recorder);
    recorder.messages.clear();
  }
  void TearDown() override {
    platform::deleteGLContext(window, context);
    platform::destroyWindow(window);
    platform::unregisterWindowClass("Test");
  }

  void pushKey(Uint32 type, SDL_Keycode key, bool repeat = false) {
    SDL_Event event{};
    event.type = type;
    event.key.windowID = SDL_GetWindowID(window->sdl);
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }
  void pushWindowEvent(Uint8 what, int data1 = 0, int data2 = 0) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(window->sdl);
    event.window.event = what;
    event.window.data1 = data1;
    event.window.data2 = data2;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }
  std::vector<Message> pump() {
    recorder.messages.clear();
    platform::pumpMessages();
    return recorder.messages;
  }

  Recorder recorder;
  platform::WindowHandle window = nullptr;
  platform::GLContextHandle context = nullptr;
};

TEST_F(SdlWindowTest, MakesTheClientSizeAndADepthBufferedContext) {
  int width = 0, height = 0;
  platform::clientSize(window, &width, &height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  // (The offscreen driver draws into a single-buffered pbuffer, so double
  // buffering shows only on a real display.)
  GLint depth = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depth);
  EXPECT_GE(depth, 16);
  EXPECT_NE(platform::glProcAddress("glActiveTextureARB"), nullptr);
  EXPECT_NE(platform::glProcAddress("glClientActiveTextureARB"), nullptr);
  EXPECT_EQ(platform::videoDriverName(), "offscreen");
  platform::setWindowTitle(window, "fps: 60");
  EXPECT_EQ(platform::windowTitle(window), "fps: 60");
}

TEST_F(SdlWindowTest, KeysArriveAsVirtualKeyMessagesWithWin32Packing) {
  pushKey(SDL_KEYDOWN, SDLK_ESCAPE);
  pushKey(SDL_KEYDOWN, SDLK_q);
  pushKey(SDL_KEYDOWN, SDLK_q, true);
  pushKey(SDL_KEYDOWN, SDLK_AUDIOPLAY);  // no virtual-key code: no message
  pushKey(SDL_KEYUP, SDLK_q);
  auto messages = pump();
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[0].message, platform::msg::KeyDown);
  EXPECT_EQ(messages[0].wParam, 27u);
  EXPECT_EQ(messages[1].wParam, uintptr_t('Q'));
  EXPECT_EQ(messages[1].lParam & (1 << 30), 0);  // was up before
  EXPECT_NE(messages[2].lParam & (1 << 30), 0);  // auto-repeat: was down
  EXPECT_EQ(messages[3].message, platform::msg::KeyUp);
  EXPECT_EQ(messages[3].wParam, uintptr_t('Q'));
  EXPECT_NE(uint32_t(messages[3].lParam) & (1u << 31), 0u);
}

TEST_F(SdlWindowTest, TheKeyStateFollowsThePumpedEvents) {
  EXPECT_FALSE(platform::asyncKeyDown(platform::kVkSpace));
  pushKey(SDL_KEYDOWN, SDLK_SPACE);
  pump();
  EXPECT_TRUE(platform::asyncKeyDown(platform::kVkSpace));
  pushKey(SDL_KEYUP, SDLK_SPACE);
  pump();
  EXPECT_FALSE(platform::asyncKeyDown(platform::kVkSpace));
  EXPECT_FALSE(platform::asyncKeyDown(-1));
  EXPECT_FALSE(platform::asyncKeyDown(256));
}

// A held key through the pump, as the frame loop reads it (asyncKeyDown): the
// keyboard's auto-repeat, key-downs with `repeat` set, keeps it down and
// arrives as key-downs marked "was down" (bit 30); only its key-up or a lost
// focus lets it go.
TEST_F(SdlWindowTest, AHeldKeyStaysDownThroughItsRepeats) {
  constexpr Uint32 kFocusLost = 0;
  struct Step {
    const char* what;
    Uint32 event;  // SDL_KEYDOWN, SDL_KEYUP or kFocusLost
    bool repeat;
    bool downAfter;
    uint32_t message;
    bool wasDown;  // bit 30 of a key message
  };
  const Step steps[] = {
      {"press", SDL_KEYDOWN, false, true, platform::msg::KeyDown, false},
      {"first repeat", SDL_KEYDOWN, true, true, platform::msg::KeyDown, true},
      {"second repeat", SDL_KEYDOWN, true, true, platform::msg::KeyDown, true},
      {"release", SDL_KEYUP, false, false, platform::msg::KeyUp, true},
      {"press again", SDL_KEYDOWN, false, true, platform::msg::KeyDown, false},
      {"its repeat", SDL_KEYDOWN, true, true, platform::msg::KeyDown, true},
      {"focus lost while held", kFocusLost, false, false, platform::msg::Activate, false},
      {"a repeat once the focus is back", SDL_KEYDOWN, true, true, platform::msg::KeyDown, true},
      {"release", SDL_KEYUP, false, false, platform::msg::KeyUp, true},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    if (step.event == kFocusLost) {
      pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    } else {
      pushKey(step.event, SDLK_SPACE, step.repeat);
    }
    const auto messages = pump();
    EXPECT_EQ(platform::asyncKeyDown(platform::kVkSpace), step.downAfter);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, step.message);
    if (step.event != kFocusLost) {
      EXPECT_EQ(messages[0].wParam, uintptr_t(platform::kVkSpace));
      EXPECT_EQ((messages[0].lParam & (1 << 30)) != 0, step.wasDown);
    }
  }
}

TEST_F(SdlWindowTest, CloseSizeAndMinimiseBecomeWin32Messages) {
  pushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600);
  pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
  pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  auto messages = pump();
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[0].message, platform::msg::Size);
  EXPECT_EQ(messages[0].lParam, platform::makeSizeParam(800, 600));
  EXPECT_EQ(messages[1].message, platform::msg::Activate);
  EXPECT_NE((messages[1].wParam >> 16) & 0xFFFF, 0u);  // minimised
  EXPECT_EQ(messages[2].message, platform::msg::Size);
  EXPECT_EQ(messages[2].lParam, 0);  // Windows reports a minimised window as 0 by 0
  EXPECT_EQ(messages[3].message, platform::msg::Close);
}

// A progress window closed by the user, then SIGINT (SDL's handler queues an
// SDL_QUIT): the interrupt still reaches the show's window. SDL itself
// queues no SDL_QUIT after a close, so none can be mistaken for one.
TEST_F(SdlWindowTest, AnInterruptAfterAnotherWindowWasClosedStillClosesTheWindows) {
  EXPECT_FALSE(SDL_GetHintBoolean(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, SDL_TRUE));
  Recorder otherRecorder;
  auto other =
      platform::createWindow("Test", "", platform::WindowStyle::OverlappedFramed, 0, 0, 64, 64);
  platform::setWindowProcedure(other, &otherRecorder);
  pump();
  otherRecorder.messages.clear();

  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  close.window.windowID = SDL_GetWindowID(other->sdl);
  SDL_PushEvent(&close);
  EXPECT_TRUE(pump().empty());
  ASSERT_EQ(otherRecorder.messages.size(), 1u);
  EXPECT_EQ(otherRecorder.messages[0].message, platform::msg::Close);
  platform::destroyWindow(other);

  for (int interrupt = 0; interrupt < 2; ++interrupt) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    auto messages = pump();
    ASSERT_EQ(messages.size(), 1u) << "interrupt " << interrupt;
    EXPECT_EQ(messages[0].message, platform::msg::Close);
  }
}

TEST_F(SdlWindowTest, TheScreenSaverStartsOnlyWhenTheProcedurePassesItsRequestOn) {
  // The procedure was asked when it was set and swallowed both requests.
  EXPECT_FALSE(SDL_IsScreenSaverEnabled());
  recorder.passScreenSaverOn = true;
  pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  auto messages = pump();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].message, platform::msg::Activate);
  EXPECT_EQ(messages[1].message, platform::msg::SysCommand);
  EXPECT_EQ(messages[1].wParam, platform::kScScreenSave);
  EXPECT_EQ(messages[2].wParam, platform::kScMonitorPower);
  EXPECT_TRUE(SDL_IsScreenSaverEnabled());
  recorder.passScreenSaverOn = false;
  pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  pump();
  EXPECT_FALSE(SDL_IsScreenSaverEnabled());
}

TEST(SdlDisplayMode, AModeTheDisplayLacksIsRefusedAndChangesNothing) {
  // The offscreen display has one mode, not 640x480.
  EXPECT_FALSE(platform::changeDisplayMode(641, 479, 32));
  platform::registerWindowClass("Test", &recordingProcedure);
  auto window =
      platform::createWindow("Test", "", platform::WindowStyle::Popup, 0, 0, 640, 480);
  EXPECT_FALSE(window->fullscreen);
  EXPECT_EQ(SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_FULLSCREEN, 0u);
  platform::destroyWindow(window);
  platform::unregisterWindowClass("Test");
}

int refuseDisplayMode(SDL_Window*, const SDL_DisplayMode*) { return SDL_SetError("refused"); }

// The mode is listed, so the request gets as far as the switch; when that
// fails the caller must hear of it (and make a framed window, cursor shown),
// not get a borderless window that it takes for fullscreen.
TEST(SdlDisplayMode, AListedModeThatCannotBeSwitchedToIsRefused) {
  platform::registerWindowClass("Test", &recordingProcedure);
  int left = 0, top = 0, right = 0, bottom = 0;
  platform::desktopRect(&left, &top, &right, &bottom);  // starts the video
  SDL_DisplayMode desktop{};
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0) << SDL_GetError();
  platform::sdl::gSetWindowDisplayMode = &refuseDisplayMode;
  EXPECT_FALSE(platform::changeDisplayMode(desktop.w, desktop.h, 32));
  platform::sdl::gSetWindowDisplayMode = &SDL_SetWindowDisplayMode;
  auto popup = platform::createWindow("Test", "", platform::WindowStyle::Popup, 0, 0, desktop.w,
                                      desktop.h);
  EXPECT_FALSE(popup->fullscreen);
  EXPECT_EQ(SDL_GetWindowFlags(popup->sdl) & SDL_WINDOW_FULLSCREEN, 0u);
  platform::destroyWindow(popup);

  platform::unregisterWindowClass("Test");
}

TEST(SdlNoDisplay, AnOffscreenDriverThatNobodyAskedForIsRefused) {
  // Only meaningful before video is up and with no display at all.
  if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  std::string driver = std::getenv("SDL_VIDEODRIVER") ? std::getenv("SDL_VIDEODRIVER") : "";
  unsetenv("SDL_VIDEODRIVER");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  platform::registerWindowClass("Test", &recordingProcedure);
  try {
    platform::createWindow("Test", "", platform::WindowStyle::OverlappedFramed, 0, 0, 640, 480);
    ADD_FAILURE() << "a window without a display";
  } catch (const platform::PlatformError& error) {
    EXPECT_NE(std::string(error.what()).find("no display"), std::string::npos) << error.what();
  }
  EXPECT_FALSE(SDL_WasInit(SDL_INIT_VIDEO));
  platform::unregisterWindowClass("Test");
  if (!driver.empty()) setenv("SDL_VIDEODRIVER", driver.c_str(), 1);
}

}  // namespace

namespace {

intptr_t passingProcedure(void*, platform::WindowHandle window, uint32_t message,
                          uintptr_t wParam, intptr_t lParam) {
  return platform::defaultProcedure(window, message, wParam, lParam);
}

TEST_F(SdlWindowTest, AClosingWindowLeavesTheScreenSaverToTheOnesLeft) {
  // A second window that lets the screen saver start (a progress window).
  platform::registerWindowClass("Passing", &passingProcedure);
  auto second =
      platform::createWindow("Passing", "", platform::WindowStyle::OverlappedFramed, 0, 0, 64, 64);
  platform::setWindowProcedure(second, nullptr);
  EXPECT_TRUE(SDL_IsScreenSaverEnabled());
  platform::destroyWindow(second);
  platform::unregisterWindowClass("Passing");
  EXPECT_FALSE(SDL_IsScreenSaverEnabled());
}

}  // namespace
