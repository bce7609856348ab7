#include "shell/CommandLine.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Parsed {
  bool ok;
  Options options;
  std::string error;
};

Parsed parse(std::initializer_list<const char*> args) {
  std::vector<const char*> argv = {"kylvander"};
  argv.insert(argv.end(), args.begin(), args.end());
  Parsed parsed{};
  try {
    parsed.options = parseCommandLine(int(argv.size()), argv.data());
    parsed.ok = true;
  } catch (const CommandLineError& error) {
    parsed.error = error.what();
  }
  return parsed;
}

TEST(CommandLine, NothingGivenAsksTheQuestionAndPlaysTheShow) {
  Parsed p = parse({});
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.options.mode, Options::Mode::Show);
  EXPECT_FALSE(p.options.fullscreen.has_value());
  EXPECT_TRUE(p.options.dataDir.empty());
  EXPECT_EQ(p.options.startPosition, 0);
}

TEST(CommandLine, ShowOptionsInBothSpellings) {
  Parsed p = parse({"--windowed", "--data", "some dir", "--verbose", "--start=4", "--precalc"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.fullscreen, false);
  EXPECT_EQ(p.options.dataDir, "some dir");
  EXPECT_TRUE(p.options.verbose);
  EXPECT_TRUE(p.options.precalc);
  EXPECT_EQ(p.options.startPosition, 4);
  EXPECT_EQ(parse({"--fullscreen", "--fullscreen"}).options.fullscreen, true);
  EXPECT_EQ(parse({"--data=x"}).options.dataDir, "x");
}

TEST(CommandLine, OfflineModesAndTheirValues) {
  Parsed p = parse({"--render-audio", "out.wav", "--song", "s", "--end-position", "8"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.mode, Options::Mode::RenderAudio);
  EXPECT_EQ(p.options.output, "out.wav");
  EXPECT_EQ(p.options.songFile, "s");
  EXPECT_EQ(p.options.endPosition, 8);

  p = parse({"--capture", "show.mp4", "--fps", "30", "--size", "1280x960"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.mode, Options::Mode::Capture);
  EXPECT_EQ(p.options.fps, 30);
  EXPECT_EQ(p.options.width, 1280);
  EXPECT_EQ(p.options.height, 960);

  p = parse({"--screenshot", "12.5", "shot.png"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.mode, Options::Mode::Screenshot);
  EXPECT_EQ(p.options.screenshotSeconds, 12.5);
  EXPECT_EQ(p.options.output, "shot.png");

  EXPECT_EQ(parse({"--dump-textures", "d"}).options.mode, Options::Mode::DumpTextures);
  EXPECT_EQ(parse({"--benchmark"}).options.mode, Options::Mode::Benchmark);
  EXPECT_EQ(parse({"--benchmark", "--help"}).options.mode, Options::Mode::Help);

  p = parse({"--play-song", "my.song", "--start", "3", "--watch"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.mode, Options::Mode::PlaySong);
  EXPECT_EQ(p.options.songSource, "my.song");
  EXPECT_EQ(p.options.startPosition, 3);
  EXPECT_TRUE(p.options.watch);
}

TEST(CommandLine, WindowSizeFitAndDesktopFullscreen) {
  struct Case {
    std::initializer_list<const char*> args;
    int width, height;
    bool fit;
    std::optional<bool> fullscreen;
    bool desktop;
  };
  const Case cases[] = {
      {{}, 640, 480, false, std::nullopt, false},
      {{"--size", "1280x720"}, 1280, 720, false, std::nullopt, false},
      {{"--size=3840X1600", "--fit"}, 3840, 1600, true, std::nullopt, false},
      {{"--fit", "--windowed"}, 640, 480, true, false, false},
      {{"--fullscreen"}, 640, 480, false, true, false},
      {{"--fullscreen=desktop"}, 640, 480, false, true, true},
      {{"--fullscreen=desktop", "--fullscreen=desktop", "--size", "16x16"}, 16, 16, false, true,
       true},
  };
  for (const Case& c : cases) {
    Parsed p = parse(c.args);
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.mode, Options::Mode::Show);
    EXPECT_EQ(p.options.width, c.width);
    EXPECT_EQ(p.options.height, c.height);
    EXPECT_EQ(p.options.fit, c.fit);
    EXPECT_EQ(p.options.fullscreen, c.fullscreen);
    EXPECT_EQ(p.options.desktopFullscreen, c.desktop);
  }
  // The screenshot takes the size as the capture does.
  Parsed shot = parse({"--screenshot", "4", "a.png", "--size", "1920x1080"});
  ASSERT_TRUE(shot.ok) << shot.error;
  EXPECT_EQ(shot.options.width, 1920);
  EXPECT_EQ(shot.options.height, 1080);
}

TEST(CommandLine, WhatCannotBeUnderstoodIsRefusedWithAReason) {
  struct Case {
    std::initializer_list<const char*> args;
    const char* mentions;
  };
  const Case cases[] = {
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"stray"}, "unexpected argument"},
      {{"--data"}, "needs a value"},
      {{"--start", "-1"}, "--start"},
      {{"--start", "4x"}, "--start"},
      {{"--start", "99999999999999999999"}, "--start"},
      {{"--fps", "0"}, "--fps"},
      {{"--size", "640"}, "--size"},
      {{"--size", "0x480"}, "--size"},
      {{"--size", "0x0"}, "bad value \"0x0\" for --size: expected WIDTHxHEIGHT, each 16 to 8192"},
      {{"--size", "abc"}, "bad value \"abc\" for --size"},
      {{"--size", "640x"}, "--size"},
      {{"--size", "640x480x2"}, "--size"},
      {{"--size", "8193x480"}, "--size"},
      {{"--size"}, "option --size needs a value"},
      {{"--fullscreen=foo"},
       "bad value \"foo\" for --fullscreen: expected no value or \"desktop\""},
      {{"--fullscreen="}, "bad value \"\" for --fullscreen"},
      {{"--windowed=desktop"}, "option --windowed takes no value"},
      {{"--fullscreen=desktop", "--windowed"}, "exclude each other"},
      {{"--fullscreen", "--fullscreen=desktop"}, "--fullscreen and --fullscreen=desktop exclude"},
      {{"--fullscreen=desktop", "--fullscreen"}, "--fullscreen and --fullscreen=desktop exclude"},
      {{"--fit=yes"}, "option --fit takes no value"},
      {{"--screenshot", "nan", "a.png"}, "--screenshot"},
      {{"--screenshot", "3"}, "needs SECONDS and OUT.png"},
      {{"--fullscreen", "--windowed"}, "exclude each other"},
      {{"--capture", "a", "--benchmark"}, "exclude each other"},
      {{"--verbose=yes"}, "takes no value"},
      {{"--watch"}, "--watch goes with --play-song"},
      {{"--play-song", "a.song", "--render-audio", "b.wav"}, "exclude each other"},
  };
  for (const Case& c : cases) {
    Parsed p = parse(c.args);
    EXPECT_FALSE(p.ok) << *c.args.begin();
    EXPECT_NE(p.error.find(c.mentions), std::string::npos) << p.error;
  }
  // --help names the window's options and the keys of the show.
  for (const char* named : {"--windowed", "--fit", "--fullscreen=desktop",
                            "the window's client size", "Escape", "space", "F11 or F"})
    EXPECT_NE(std::string(usageText()).find(named), std::string::npos) << named;
}

}  // namespace
