// The show: the fullscreen question, the window, the song, the music system,
// the scenes, and the frame loop that draws the scene the song position
// schedules until the song passes its last scheduled position or the user
// quits.
#include "shell/DemoMain.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include "music/MusicSystem.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/SoundDevice.h"
#include "platform/Window.h"
#include "scenes/Scene.h"
#include "scenes/SceneList.h"
#include "shell/DataDirectory.h"
#include "shell/GLWindow.h"
#include "shell/Modes.h"
#include "shell/ShellError.h"
#include "shell/ShowFrame.h"
#include "shell/SongFile.h"
#include "shell/Verbose.h"

namespace {

constexpr const char* kGuardCaption = "sursur";

bool askFullscreen(const Options& options) {
  if (options.fullscreen) return *options.fullscreen;
  return platform::messageBox(nullptr, "you want fullscreen?", "Kylvander",
                              platform::MessageBoxButtons::YesNo) == platform::MessageBoxAnswer::Yes;
}

// What the frame loop carries from one frame to the next. On the heap, so
// that a platform whose loop returns at once (a web page) keeps it after
// show() has returned. The window is declared after the music system: it
// goes first, on a failure as in a normal end.
struct RunningShow {
  std::vector<uint8_t> songImage;
  MusicSystem music;
  std::unique_ptr<GLWindow> window;
  // After the window: the scenes release their GL objects while its context
  // is still current.
  SceneArray scenes;
  ShowFrame frame{music, scenes};
};

// The frame loop's step: after the last frame the window goes, then the
// music system.
bool frameStep(void* user) {
  auto* running = static_cast<RunningShow*>(user);
  if (showFrame(*running->window, running->frame)) return true;
  running->scenes = SceneArray();
  running->window->destroy();
  delete running;
  return false;
}

int show(const Options& options) {
  auto running = std::make_unique<RunningShow>();
  MusicSystem& music = running->music;

  const bool fullscreen = askFullscreen(options);
  GLWindow::Screen screen;
  screen.fit = options.fit;
  screen.desktopFullscreen = options.desktopFullscreen;
  running->window = std::make_unique<GLWindow>(options.width, options.height, fullscreen, screen);
  verboseLine("video driver %s", platform::videoDriverName().c_str());

  running->songImage = readSongFile(kSongFileName);
  if (!music.init(running->songImage.data(), running->songImage.size(),
                  running->window->window(), options.precalc, 32, nullptr, nullptr))
    return 1;  // the loader has said why
  verboseLine("audio driver %s", platform::audioDriverName().c_str());

  running->scenes = constructScenes(music);
  music.start(options.startPosition);

  // The loop owns the show from here (until the last frame, or for ever in
  // a page whose browser calls the frames); a failure in a frame leaves it
  // to the unique pointer again.
  platform::runFrameLoop(&frameStep, running.get());
  running.release();
  return 0;
}

}  // namespace

bool showFrame(GLWindow& window, ShowFrame& frame) {
  if (window.quitRequested()) return false;
  if (!frame.draw()) return false;
  window.endFrame();
  // Holding the space bar slows the pictures down; the music goes on.
  if (platform::asyncKeyDown(platform::kVkSpace)) platform::sleepMilliseconds(200);
  return true;
}

int runShow(const Options& options) {
  // A data folder that cannot be entered is said on standard error, as in
  // the other modes; no window or box yet.
  return reportShellErrors([&] {
    enterDataDirectory(options);
    // Whatever goes wrong from here ends here, with a box, the window and the
    // display mode put back, and exit code 1.
    try {
      return show(options);
    } catch (const SongFileError& error) {
      std::fprintf(stderr, "kylvander: %s\n", error.what());
      platform::messageBox(nullptr, "VET INTE!!", kGuardCaption);
    } catch (const std::exception& error) {
      platform::messageBox(nullptr, error.what(), kGuardCaption);
    } catch (...) {
      platform::messageBox(nullptr, "VET INTE!!", kGuardCaption);
    }
    return 1;
  });
}
