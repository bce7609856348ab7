// The command line: what the user asked the program to do.
#pragma once

#include <optional>
#include <string>

#include "shell/SceneSchedule.h"

struct Options {
  enum class Mode {
    Show,          // the show itself
    Help,          // --help
    RenderAudio,   // --render-audio OUT.wav: the song to a WAV file, offline
    DumpTextures,  // --dump-textures DIR: every scene texture as TGA
    Capture,       // --capture OUT.mp4 | DIR/: the whole show to video
    Screenshot,    // --screenshot SECONDS OUT.png: one frame of a capture
    Benchmark,     // --benchmark: frame times per scene
    PlaySong       // --play-song FILE.song: a song source through the sound device
  };
  Mode mode = Mode::Show;

  std::optional<bool> fullscreen;  // --fullscreen / --windowed; unset: ask
  std::string dataDir;             // --data DIR; empty: the built data folder
  bool verbose = false;            // --verbose
  bool precalc = false;            // --precalc
  int startPosition = 0;           // --start POSITION

  std::string output;              // OUT of the offline modes
  std::string songFile;            // --song FILE (render-audio)
  // --end-position N (render-audio); by default the step after the show's last.
  int endPosition = SceneSchedule::kLastPlayedPosition + 1;
  int fps = 60;                    // --fps N (capture, screenshot)
  int width = 640;                 // --size WxH: the window's client size,
  int height = 480;                //   the capture's and screenshot's frame

  // How the live window shows the picture.
  bool fit = false;                // --fit: a centred 4/3 box, black bars
  bool desktopFullscreen = false;  // --fullscreen=desktop (fullscreen is set too)
  double screenshotSeconds = 0.0;  // --screenshot SECONDS

  std::string songSource;          // --play-song FILE.song
  bool watch = false;              // --watch (play-song): reload when saved
};
