#include "shell/CommandLine.h"

#include <gtest/gtest.h>

#include <initializer_list>
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
  parsed.ok = parseCommandLine(int(argv.size()), argv.data(), &parsed.options, &parsed.error);
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
      {{"--screenshot", "nan", "a.png"}, "--screenshot"},
      {{"--screenshot", "3"}, "needs SECONDS and OUT.png"},
      {{"--fullscreen", "--windowed"}, "exclude each other"},
      {{"--capture", "a", "--benchmark"}, "exclude each other"},
      {{"--verbose=yes"}, "takes no value"},
  };
  for (const Case& c : cases) {
    Parsed p = parse(c.args);
    EXPECT_FALSE(p.ok) << *c.args.begin();
    EXPECT_NE(p.error.find(c.mentions), std::string::npos) << p.error;
  }
  EXPECT_NE(std::string(usageText()).find("--windowed"), std::string::npos);
}

}  // namespace
