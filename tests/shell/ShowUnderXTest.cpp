// The show on a real X server (Xvfb), as a user sees it: a 640x480 client
// area, the frame rate in the title, and an end with exit code 0 within a
// second of Escape or of the window manager's close request; a window of
// another size with the picture stretched or fitted, read back from the
// X server.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <regex>
#include <string>
#include <thread>
#include <vector>


#include "ChildProcess.h"

namespace {

using Clock = std::chrono::steady_clock;

pid_t spawn(std::vector<std::string> args, const std::vector<std::string>& extraEnv,
            int stdoutFd = -1) {
  ChildStreams streams;
  streams.outFd = stdoutFd;
  return startChild(std::move(args), {"DISPLAY", "SDL_VIDEODRIVER"}, extraEnv, streams);
}

// Waits for the process to end; -1 when it did not within the time.
int waitFor(pid_t pid, std::chrono::milliseconds limit) {
  auto deadline = Clock::now() + limit;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (Clock::now() > deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

std::string windowName(Display* display, Window window) {
  char* name = nullptr;
  std::string result;
  if (XFetchName(display, window, &name) && name) result = name;
  if (name) XFree(name);
  return result;
}

// The top-level window whose title matches, or 0.
Window findWindow(Display* display, const std::regex& title) {
  Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (XQueryTree(display, root, &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count && !found; ++i)
      if (std::regex_match(windowName(display, children[i]), title)) found = children[i];
    if (children) XFree(children);
  }
  return found;
}

// Xlib's default handler ends the process on any error; a window that goes
// away between two requests must only fail the test.
int gXErrors = 0;
int countXError(Display*, XErrorEvent*) {
  ++gXErrors;
  return 0;
}

class ShowUnderXTest : public ::testing::Test {
 protected:
  void SetUp() override { startX("1024x768x24"); }

  void startX(const char* screen) {
    if (!std::getenv("KYL_TEST_X")) {
      // Opt-in through ctest, which sets it when Xvfb and xdotool exist.
      GTEST_SKIP() << "KYL_TEST_X not set";
    }
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    // Xvfb picks a free display and writes its number to the descriptor.
    xvfb = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen,
                  "-nolisten", "tcp"},
                 {});
    close(fds[1]);
    ASSERT_GT(xvfb, 0);
    char buffer[16] = {};
    ssize_t got = read(fds[0], buffer, sizeof buffer - 1);
    close(fds[0]);
    ASSERT_GT(got, 0) << "Xvfb did not start";
    displayName = ":" + std::to_string(std::atoi(buffer));
    display = XOpenDisplay(displayName.c_str());
    ASSERT_NE(display, nullptr);
    XSetErrorHandler(&countXError);
    gXErrors = 0;
  }
  void TearDown() override {
    EXPECT_EQ(gXErrors, 0);
    if (show > 0) {
      int status = 0;
      if (waitpid(show, &status, WNOHANG) == show) {
        ADD_FAILURE() << "the show ended early, status " << status;
        show = 0;
      }
    }
    stop(show);
    if (display) XCloseDisplay(display);
    stop(xvfb);
  }

  // Starts the show and waits for its frame-rate title.
  Window startShow(const char* choice = "--windowed", std::vector<std::string> more = {}) {
    std::vector<std::string> args = {KYL_EXECUTABLE, choice};
    args.insert(args.end(), more.begin(), more.end());
    show = spawn(args, {"DISPLAY=" + displayName, "SDL_AUDIODRIVER=dummy"});
    EXPECT_GT(show, 0);
    return waitForFrames();
  }

  Window waitForFrames() {
    const std::regex readout("fps: [0-9]+");
    auto deadline = Clock::now() + std::chrono::seconds(240);  // scenes build textures first
    while (Clock::now() < deadline) {
      if (Window window = findWindow(display, readout)) {
        // Windows come and go while the show starts (the search may ask about
        // one that has just gone): only errors from here on count.
        XSync(display, False);
        gXErrors = 0;
        return window;
      }
      int status = 0;
      if (waitpid(show, &status, WNOHANG) == show) {
        show = 0;
        ADD_FAILURE() << "the show ended before its first frame";
        return 0;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ADD_FAILURE() << "no frame-rate title";
    return 0;
  }

  void sendCloseRequest(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
  }

  void pressEscape(Window window) {
    // Without a window manager the focus follows the pointer.
    std::string id = std::to_string(window);
    pid_t tool = spawn({"xdotool", "mousemove", "--window", id, "100", "100", "sleep", "0.2",
                        "key", "Escape"},
                       {"DISPLAY=" + displayName});
    ASSERT_GT(tool, 0);
    EXPECT_EQ(waitFor(tool, std::chrono::seconds(10)), 0);
  }

  void expectClientArea(Window window, int width = 640, int height = 480) {
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(display, window, &attributes));
    EXPECT_EQ(attributes.width, width);
    EXPECT_EQ(attributes.height, height);
  }

  // The brightest channel value in each column of the window's pixels, as
  // the X server shows them.
  std::vector<int> columnPeaks(Window window, int width, int height) {
    std::vector<int> peaks(size_t(width), -1);
    XImage* image = XGetImage(display, window, 0, 0, unsigned(width), unsigned(height), AllPlanes,
                              ZPixmap);
    if (!image) return peaks;
    for (int x = 0; x < width; ++x) {
      int peak = 0;
      for (int y = 0; y < height; ++y) {
        const unsigned long pixel = XGetPixel(image, x, y);
        for (int shift : {0, 8, 16}) peak = std::max(peak, int((pixel >> shift) & 0xFF));
      }
      peaks[size_t(x)] = peak;
    }
    XDestroyImage(image);
    return peaks;
  }

  int endsWithin(std::chrono::milliseconds limit) {
    int code = waitFor(show, limit);
    if (code != -1) show = 0;
    return code;
  }

  pid_t xvfb = 0;
  pid_t show = 0;
  std::string displayName;
  Display* display = nullptr;
};

TEST_F(ShowUnderXTest, EscapeEndsTheShowWithinASecond) {
  Window window = startShow();
  ASSERT_NE(window, 0u);
  expectClientArea(window);
  pressEscape(window);
  EXPECT_EQ(endsWithin(std::chrono::seconds(1)), 0);
}

// Fullscreen, on a display that has the 640x480 mode and on one that has not
// (the 1024x768 screen above, which falls back to a framed window). Without a
// window manager the two look alike from outside; the in-process window tests
// tell them apart.
class FullscreenUnderXTest : public ShowUnderXTest {
 protected:
  void SetUp() override { startX("640x480x24"); }
};

TEST_F(FullscreenUnderXTest, InThe640x480ModeEndsOnEscape) {
  Window window = startShow("--fullscreen");
  ASSERT_NE(window, 0u);
  expectClientArea(window);
  pressEscape(window);
  EXPECT_EQ(endsWithin(std::chrono::seconds(1)), 0);
}

TEST_F(ShowUnderXTest, FullscreenWithoutThe640x480ModeStillGives640x480) {
  Window window = startShow("--fullscreen");
  ASSERT_NE(window, 0u);
  expectClientArea(window);
}

// A window of 1280x720 pixels, made so (--size) or resized by the user:
// without --fit the picture stretches over all of it, with --fit it is the
// centred 960x720 box between black bars 160 pixels wide. Scenes may have
// dark corners or fade in, so the picture's edges must show something in
// some frame within the time; the bars must be black in every frame.
// A screen that holds the whole window: the X server reads back only what
// is on the screen.
class WideScreenUnderXTest : public ShowUnderXTest {
 protected:
  void SetUp() override { startX("1920x1080x24"); }
};

TEST_F(WideScreenUnderXTest, A1280x720WindowStretchesThePictureOrFitsItBetweenBlackBars) {
  struct Case {
    std::vector<std::string> options;
    bool resize;    // by the X server, after the first frame
    int left, right;  // the picture's columns [left, right)
  };
  const Case cases[] = {
      {{"--size", "1280x720"}, false, 0, 1280},
      {{"--fit"}, true, 160, 1120},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options[0]);
    Window window = startShow("--windowed", c.options);
    ASSERT_NE(window, 0u);
    if (c.resize) {
      XResizeWindow(display, window, 1280, 720);
      XSync(display, False);
    }
    // Until the show has drawn at the new size, the window holds the old
    // 640x480 picture in its corner; from the first new frame on, every
    // frame counts.
    bool newSize = !c.resize, leftEdge = false, rightEdge = false;
    for (auto deadline = Clock::now() + std::chrono::seconds(20);
         !(leftEdge && rightEdge) && Clock::now() < deadline;
         std::this_thread::sleep_for(std::chrono::milliseconds(200))) {
      std::vector<int> peaks = columnPeaks(window, 1280, 720);
      ASSERT_NE(peaks[0], -1) << "no pixels from the X server";
      newSize = newSize || std::any_of(peaks.begin() + 640, peaks.begin() + c.right,
                                       [](int peak) { return peak > 0; });
      if (!newSize) continue;
      for (int x = 0; x < 1280; ++x) {
        if (x < c.left || x >= c.right) {
          ASSERT_EQ(peaks[size_t(x)], 0) << "column " << x;
        }
      }
      leftEdge = leftEdge || peaks[size_t(c.left)] > 8;
      rightEdge = rightEdge || peaks[size_t(c.right - 1)] > 8;
    }
    expectClientArea(window, 1280, 720);
    EXPECT_TRUE(leftEdge) << "nothing drawn in column " << c.left;
    EXPECT_TRUE(rightEdge) << "nothing drawn in column " << c.right - 1;
    stop(show);
    show = 0;
  }
}

TEST_F(ShowUnderXTest, TheCloseRequestEndsTheShowWithinASecond) {
  Window window = startShow();
  ASSERT_NE(window, 0u);
  sendCloseRequest(window);
  EXPECT_EQ(endsWithin(std::chrono::seconds(1)), 0);
}

// The user closes the progress window while the song is rendered ahead, and
// later interrupts the show from the terminal: the first SIGINT ends it.
TEST_F(ShowUnderXTest, AfterTheProgressWindowWasClosedAnInterruptEndsTheShow) {
  show = spawn({KYL_EXECUTABLE, "--windowed", "--precalc"},
               {"DISPLAY=" + displayName, "SDL_AUDIODRIVER=dummy"});
  ASSERT_GT(show, 0);
  const std::regex progress("Making music\\.\\.\\. [0-9]+% done");
  Window progressWindow = 0;
  for (auto deadline = Clock::now() + std::chrono::seconds(240);
       !progressWindow && Clock::now() < deadline;
       std::this_thread::sleep_for(std::chrono::milliseconds(10)))
    progressWindow = findWindow(display, progress);
  ASSERT_NE(progressWindow, 0u) << "no progress window";
  sendCloseRequest(progressWindow);
  ASSERT_NE(waitForFrames(), 0u);
  kill(show, SIGINT);
  EXPECT_EQ(endsWithin(std::chrono::seconds(2)), 0);
}

}  // namespace
