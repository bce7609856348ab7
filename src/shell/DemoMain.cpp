// The show: the fullscreen question, the window, the song, the music system,
// the scenes, and the frame loop that draws the scene the song position
// schedules until the song passes its last scheduled position or the user
// quits.
#include <array>
#include <cstddef>
#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include "music/MusicSystem.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Random.h"
#include "platform/SoundDevice.h"
#include "platform/Window.h"
#include "scenes/Scene.h"
#include "scenes/SceneList.h"
#include "shell/DataDirectory.h"
#include "shell/GLWindow.h"
#include "shell/Modes.h"
#include "shell/SceneSchedule.h"
#include "shell/SongFile.h"
#include "shell/Verbose.h"

namespace {

constexpr const char* kGuardCaption = "sursur";

bool askFullscreen(const Options& options) {
  if (options.fullscreen) return *options.fullscreen;
  return platform::messageBox(nullptr, "you want fullscreen?", "Kylvander",
                              platform::MessageBoxButtons::YesNo) == platform::MessageBoxAnswer::Yes;
}

// Draws frames until the song passes the schedule or the user quits.
void runFrames(GLWindow& window, MusicSystem& music, const SceneArray& scenes,
               const SceneSchedule& schedule) {
  int shownScene = -1;
  for (;;) {
    if (window.quitRequested()) break;
    const int tested = music.songPosition();
    if (tested > SceneSchedule::kLastPlayedPosition) break;

    // Only advances the main thread's sequence, which the scenes draw from.
    if ((platform::rand() & 0xFF) > 200) platform::rand();

    // The music thread may have moved on since the test; past the table's end
    // the tested position stands in.
    int position = music.songPosition();
    if (position < 0 || position >= SceneSchedule::kPositions) position = tested;
    const int scene = schedule.sceneAt(position);
    if (scene != shownScene) {
      verboseLine("scene %d position %d seconds %.2f", scene, position, music.seconds());
      shownScene = scene;
    }
    scenes[std::size_t(scene)]->render();

    window.endFrame();
    // Holding the space bar slows the pictures down; the music goes on.
    if (platform::asyncKeyDown(platform::kVkSpace)) platform::sleepMilliseconds(200);
  }
}

int show(const Options& options) {
  std::vector<uint8_t> songImage;
  // Declared before the window: on a failure the window goes first, as in a
  // normal end, and the music system after it.
  MusicSystem music;
  std::unique_ptr<GLWindow> window;
  // After the window: the scenes release their GL objects while its context
  // is still current.
  SceneArray scenes;

  const bool fullscreen = askFullscreen(options);
  window = std::make_unique<GLWindow>(640, 480, fullscreen);
  verboseLine("video driver %s", platform::videoDriverName().c_str());

  songImage = readSongFile(kSongFileName);
  if (!music.init(songImage.data(), songImage.size(), window->window(), options.precalc, 32,
                  nullptr, nullptr))
    return 1;  // the loader has said why
  verboseLine("audio driver %s", platform::audioDriverName().c_str());

  scenes = constructScenes(music);
  const SceneSchedule schedule;
  music.start(options.startPosition);

  runFrames(*window, music, scenes, schedule);

  scenes = SceneArray();
  window->destroy();
  window.reset();
  return 0;  // the music system shuts down on the way out
}

}  // namespace

int runShow(const Options& options) {
  if (!enterDataDirectory(options)) return 1;
  // Whatever goes wrong ends here, with a box, the window and the display mode
  // put back, and exit code 1.
  try {
    return show(options);
  } catch (const SongFileError& error) {
    std::fprintf(stderr, "kylvander: cannot read the song file \"%s\": %s\n", error.file.c_str(),
                 error.reason.c_str());
    platform::messageBox(nullptr, "VET INTE!!", kGuardCaption);
  } catch (const std::exception& error) {
    platform::messageBox(nullptr, error.what(), kGuardCaption);
  } catch (...) {
    platform::messageBox(nullptr, "VET INTE!!", kGuardCaption);
  }
  return 1;
}
