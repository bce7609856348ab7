#include "shell/CommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

const char kUsage[] =
    "Usage: kylvander [OPTION]...\n"
    "Plays the show: eight scenes in one 640x480 window, in step with the music.\n"
    "\n"
    "  --fullscreen          run fullscreen without asking\n"
    "  --windowed            run in a window without asking\n"
    "  --fullscreen=desktop  fullscreen at the desktop's own resolution, no mode\n"
    "                        change, the picture fitted as with --fit\n"
    "  --size WxH            the window's client size (default 640x480)\n"
    "  --fit                 keep the picture 4:3 in the largest centred box with\n"
    "                        black bars (without it the picture stretches with\n"
    "                        the window)\n"
    "  --data DIR            read the song and the pictures from DIR (default: the\n"
    "                        installed data, else the folder the build put them in)\n"
    "  --start POS           start the music at song position POS (default 0)\n"
    "  --precalc             render the whole song before the show starts\n"
    "  --verbose             print video and audio driver and every scene change\n"
    "  --help                show this text and exit\n"
    "\n"
    "Other modes (no window is asked for):\n"
    "  --render-audio OUT.wav  render the song to a WAV file\n"
    "      --song FILE           song file to render (default: brumtakt in DIR)\n"
    "      --end-position N      stop at song position N (default 23)\n"
    "  --dump-textures DIR     write every scene texture as TGA into DIR\n"
    "  --capture OUT           record the show to a video file, or frames to OUT/\n"
    "      --fps N               frames per second (default 60)\n"
    "      --size WxH            picture size (default 640x480)\n"
    "  --screenshot SECONDS OUT.png  one frame of the show at that moment\n"
    "      --fps N, --size WxH   as for --capture\n"
    "  --benchmark             draw every scene flat out and print frame times\n"
    "  --play-song FILE.song   compile a song source and play it, with the position\n"
    "                          heard on the terminal (--start POS: from that step)\n"
    "      --watch               play the new version whenever the file is saved\n"
    "\n"
    "Keys during the show:\n"
    "  Escape                end the show\n"
    "  space                 slow the pictures down while held\n"
    "  F11 or F              switch between the window and desktop fullscreen\n";

bool parseInt(const std::string& text, long low, long high, int* out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < low || value > high) return false;
  *out = int(value);
  return true;
}

bool parseSeconds(const std::string& text, double* out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !std::isfinite(value) || value < 0.0) return false;
  *out = value;
  return true;
}

bool parseSize(const std::string& text, int* width, int* height) {
  size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  return parseInt(text.substr(0, x), 16, 8192, width) &&
         parseInt(text.substr(x + 1), 16, 8192, height);
}

}  // namespace

const char* usageText() { return kUsage; }

Options parseCommandLine(int argc, const char* const* argv) {
  Options result;
  bool help = false;
  bool modeGiven = false;
  const char* modeName = "";
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::string name = arg;
    std::string inlineValue;
    bool hasInlineValue = false;
    if (arg.compare(0, 2, "--") == 0) {
      size_t eq = arg.find('=');
      if (eq != std::string::npos) {
        name = arg.substr(0, eq);
        inlineValue = arg.substr(eq + 1);
        hasInlineValue = true;
      }
    }
    // The next argument (or the part after '=') as the option's value.
    auto value = [&](std::string* out) {
      if (hasInlineValue) {
        *out = inlineValue;
        hasInlineValue = false;
        return;
      }
      if (i + 1 >= argc) throw CommandLineError("option " + name + " needs a value");
      *out = argv[++i];
    };
    auto badValue = [&](const std::string& text, const char* expected) {
      return CommandLineError("bad value \"" + text + "\" for " + name + ": expected " + expected);
    };
    auto setMode = [&](Options::Mode mode) {
      if (modeGiven && result.mode != mode)
        throw CommandLineError(std::string("options ") + modeName + " and " + name +
                               " exclude each other");
      modeGiven = true;
      modeName = argv[i];
      result.mode = mode;
    };

    std::string text;
    if (name == "--help" || name == "-h") {
      help = true;
    } else if (name == "--fullscreen" || name == "--windowed") {
      bool fullscreen = name == "--fullscreen";
      bool desktop = false;
      if (fullscreen && hasInlineValue) {
        if (inlineValue != "desktop") throw badValue(inlineValue, "no value or \"desktop\"");
        hasInlineValue = false;
        desktop = true;
      }
      if (result.fullscreen && *result.fullscreen != fullscreen)
        throw CommandLineError("options --fullscreen and --windowed exclude each other");
      if (result.fullscreen && *result.fullscreen && result.desktopFullscreen != desktop)
        throw CommandLineError("options --fullscreen and --fullscreen=desktop exclude each other");
      result.fullscreen = fullscreen;
      result.desktopFullscreen = desktop;
    } else if (name == "--fit") {
      result.fit = true;
    } else if (name == "--verbose" || name == "-v") {
      result.verbose = true;
    } else if (name == "--precalc") {
      result.precalc = true;
    } else if (name == "--data") {
      value(&result.dataDir);
      if (result.dataDir.empty()) throw badValue(result.dataDir, "a folder");
    } else if (name == "--start") {
      value(&text);
      if (!parseInt(text, 0, 65535, &result.startPosition))
        throw badValue(text, "a song position from 0");
    } else if (name == "--song") {
      value(&result.songFile);
    } else if (name == "--end-position") {
      value(&text);
      if (!parseInt(text, 0, 65535, &result.endPosition))
        throw badValue(text, "a song position from 0");
    } else if (name == "--fps") {
      value(&text);
      if (!parseInt(text, 1, 1000, &result.fps)) throw badValue(text, "1 to 1000");
    } else if (name == "--size") {
      value(&text);
      if (!parseSize(text, &result.width, &result.height))
        throw badValue(text, "WIDTHxHEIGHT, each 16 to 8192");
    } else if (name == "--render-audio" || name == "--dump-textures" || name == "--capture") {
      Options::Mode mode = name == "--render-audio"    ? Options::Mode::RenderAudio
                           : name == "--dump-textures" ? Options::Mode::DumpTextures
                                                       : Options::Mode::Capture;
      setMode(mode);
      value(&result.output);
      if (result.output.empty()) throw badValue(result.output, "a file or folder name");
    } else if (name == "--screenshot") {
      setMode(Options::Mode::Screenshot);
      value(&text);
      if (!parseSeconds(text, &result.screenshotSeconds))
        throw badValue(text, "seconds from 0");
      if (i + 1 >= argc) throw CommandLineError("option --screenshot needs SECONDS and OUT.png");
      result.output = argv[++i];
    } else if (name == "--benchmark") {
      setMode(Options::Mode::Benchmark);
    } else if (name == "--play-song") {
      setMode(Options::Mode::PlaySong);
      value(&result.songSource);
      if (result.songSource.empty()) throw badValue(result.songSource, "a song source");
    } else if (name == "--watch") {
      result.watch = true;
    } else {
      throw CommandLineError(arg.compare(0, 1, "-") == 0 ? "unknown option " + name
                                                         : "unexpected argument \"" + arg + "\"");
    }
    if (hasInlineValue) throw CommandLineError("option " + name + " takes no value");
  }
  if (result.watch && result.mode != Options::Mode::PlaySong)
    throw CommandLineError("option --watch goes with --play-song");
  if (help) result.mode = Options::Mode::Help;
  return result;
}
