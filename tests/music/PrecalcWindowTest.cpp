// The progress window on a real (offscreen) SDL window: the bar's colours and
// split, the title, centring, a window closed by the user, and the messages
// both windows get while the song is rendered.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>

#include <vector>

#include "ScriptedSoundBuffer.h"
#include "TestSongs.h"
#include "music/PrecalcWindow.h"
#include "music/SoundOutput.h"
#include "platform/Paint.h"
#include "platform/sdl/SdlWindow.h"
#include "synth/Synth.h"

namespace {

struct Pixel {
  uint8_t r, g, b;
};

Pixel pixelAt(platform::WindowHandle window, int x, int y) {
  SDL_Surface* surface = SDL_GetWindowSurface(window->sdl);
  EXPECT_NE(surface, nullptr);
  Pixel p{};
  if (!surface) return p;
  SDL_LockSurface(surface);
  const auto* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
  Uint32 value = 0;
  std::memcpy(&value, row + x * surface->format->BytesPerPixel, surface->format->BytesPerPixel);
  SDL_UnlockSurface(surface);
  SDL_GetRGB(value, surface->format, &p.r, &p.g, &p.b);
  return p;
}

void expectColour(Pixel p, platform::Rgb c, const char* where) {
  EXPECT_EQ(p.r, c.red) << where;
  EXPECT_EQ(p.g, c.green) << where;
  EXPECT_EQ(p.b, c.blue) << where;
}

TEST(PrecalcWindow, BarShowsThePercentageDone) {
  PrecalcWindow window;
  ASSERT_TRUE(window.isOpen());
  platform::PaintRect client = platform::clientRect(window.handle());
  EXPECT_EQ(client.right, PrecalcWindow::kWidth);
  EXPECT_EQ(client.bottom, PrecalcWindow::kHeight);

  window.showProgress(0);
  expectColour(pixelAt(window.handle(), 0, 0), PrecalcWindow::kLeftColour, "0%: left edge");
  expectColour(pixelAt(window.handle(), 299, 49), PrecalcWindow::kLeftColour, "0%: right edge");
  EXPECT_EQ(platform::windowTitle(window.handle()), "Making music... 0% done");

  window.showProgress(37);
  EXPECT_EQ(platform::windowData(window.handle()), 37);
  EXPECT_EQ(platform::windowTitle(window.handle()), "Making music... 37% done");
  // 300 x 37 / 100 = 111.
  expectColour(pixelAt(window.handle(), 110, 25), PrecalcWindow::kDoneColour, "37%: done");
  expectColour(pixelAt(window.handle(), 111, 25), PrecalcWindow::kLeftColour, "37%: rest");

  window.showProgress(100);
  expectColour(pixelAt(window.handle(), 0, 0), PrecalcWindow::kDoneColour, "100%: left edge");
  expectColour(pixelAt(window.handle(), 299, 49), PrecalcWindow::kDoneColour, "100%: right edge");
}

TEST(PrecalcWindow, ClosedWindowLeavesLaterUpdatesWithNothingToDo) {
  PrecalcWindow window;
  ASSERT_TRUE(window.isOpen());
  platform::sdl::sendMessage(window.handle(), platform::msg::Close, 0, 0);
  EXPECT_FALSE(window.isOpen());
  window.showProgress(50);
  window.pumpMessages();
}

intptr_t plainProcedure(void*, platform::WindowHandle window, uint32_t message, uintptr_t wParam,
                        intptr_t lParam) {
  return platform::defaultProcedure(window, message, wParam, lParam);
}

// The show builds its scenes right after the precalculation, on its own GL
// context: painting and closing the progress window must leave it current.
TEST(PrecalcWindow, ShowsGLContextStaysCurrent) {
  platform::registerWindowClass("OpenGL", &plainProcedure);
  platform::WindowHandle main = platform::createWindow(
      "OpenGL", "main", platform::WindowStyle::OverlappedFramed, 0, 0, 64, 48);
  platform::GLContextHandle context = platform::createGLContext(main, 32, 24);
  SDL_GLContext current = SDL_GL_GetCurrentContext();
  ASSERT_NE(current, nullptr);
  {
    PrecalcWindow window;
    for (uint32_t percent : {0u, 50u, 100u}) window.showProgress(percent);
    window.pumpMessages();
    EXPECT_EQ(SDL_GL_GetCurrentContext(), current);
  }
  EXPECT_EQ(SDL_GL_GetCurrentContext(), current);
  platform::deleteGLContext(main, context);
  platform::destroyWindow(main);
}

struct Recorder {
  std::vector<uint32_t> messages;
};

intptr_t recordingProcedure(void* user, platform::WindowHandle window, uint32_t message,
                            uintptr_t wParam, intptr_t lParam) {
  static_cast<Recorder*>(user)->messages.push_back(message);
  return platform::defaultProcedure(window, message, wParam, lParam);
}

// What the first progress report (after 70 blocks) finds.
struct FirstReport {
  Recorder* show = nullptr;
  platform::WindowHandle showWindow = nullptr;
  bool reported = false;
  size_t keysSeen = 0;
  bool foundBar = false;
  Pixel bar{};

  static void record(void* argument, float) {
    auto* self = static_cast<FirstReport*>(argument);
    if (self->reported) return;
    self->reported = true;
    for (uint32_t m : self->show->messages) self->keysSeen += m == platform::msg::KeyDown;
    platform::sdl::forEachWindow([&](platform::NativeWindow* w) {
      if (w == self->showWindow) return;
      self->foundBar = true;
      self->bar = pixelAt(w, 150, 25);
    });
  }
};

// The renderer drains the message queue after every block, not only when it
// reports progress: before the first report the progress window has painted
// its empty bar, and the show's window has had the key pressed before the
// rendering began.
TEST(PrecalcWindow, PaintsAndBothWindowsAnswerFromTheFirstBlock) {
  platform::registerWindowClass("OpenGL", &recordingProcedure);
  platform::WindowHandle show = platform::createWindow(
      "OpenGL", "show", platform::WindowStyle::OverlappedFramed, 0, 0, 64, 48);
  Recorder recorder;
  platform::showWindow(show);
  platform::pumpMessages();
  platform::setWindowProcedure(show, &recorder);
  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.windowID = SDL_GetWindowID(show->sdl);
  key.key.state = SDL_PRESSED;
  key.key.keysym.sym = SDLK_SPACE;
  key.key.keysym.scancode = SDL_SCANCODE_SPACE;
  ASSERT_EQ(SDL_PushEvent(&key), 1);

  Synth synth;
  auto song = makeTestSong(255, 1);
  SoundOutput output(std::make_unique<ScriptedSoundBuffer>(), synth);
  FirstReport report;
  report.show = &recorder;
  report.showWindow = show;
  output.precalculate(*song, 0, 32, true, 32768, &FirstReport::record, &report);

  ASSERT_TRUE(report.reported);
  EXPECT_EQ(report.keysSeen, 1u) << "the show's window got no messages before the first report";
  ASSERT_TRUE(report.foundBar);
  expectColour(report.bar, PrecalcWindow::kLeftColour, "the bar before the first report");
  platform::destroyWindow(show);
  platform::unregisterWindowClass("OpenGL");
}

TEST(PrecalcWindow, CentredWithTruncatingDivision) {
  EXPECT_EQ(PrecalcWindow::centredLeft(1024), 362);
  EXPECT_EQ(PrecalcWindow::centredLeft(1025), 362);  // the odd pixel goes right
  EXPECT_EQ(PrecalcWindow::centredTop(768), 359);
}

}  // namespace
