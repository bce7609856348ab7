// --render-audio end to end: a song file on disk to a WAV file.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "DemoSong.h"
#include "shell/Modes.h"

namespace {

std::string tempPath(const char* name) {
  return std::string(::testing::TempDir()) + "kyl_render_" + std::to_string(::getpid()) + "_" +
         name;
}

std::vector<uint8_t> readAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

}  // namespace

TEST(RenderAudio, WritesExactlyTheRenderedTicksAndRepeatsItself) {
  const std::string song = tempPath("song");
  const auto image = demoSongImage();
  {
    std::ofstream out(song, std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
  }
  Options options;
  options.mode = Options::Mode::RenderAudio;
  options.songFile = song;
  options.endPosition = 3;
  options.output = tempPath("a.wav");
  ASSERT_EQ(runRenderAudio(options), 0);
  options.output = tempPath("b.wav");
  ASSERT_EQ(runRenderAudio(options), 0);

  const auto a = readAll(tempPath("a.wav"));
  const auto b = readAll(tempPath("b.wav"));
  EXPECT_EQ(a, b) << "two renders of a song are identical";
  // (3 - 0 - 1) x 32 + 1 ticks of 2646000 / (125 x 32) = 661 frames.
  const uint32_t dataBytes = (2 * 32 + 1) * 661 * 4;
  ASSERT_EQ(a.size(), 44 + dataBytes);
  EXPECT_EQ(std::string(a.begin(), a.begin() + 4), "RIFF");
  EXPECT_EQ(le32(a, 4), 36 + dataBytes);
  EXPECT_EQ(std::string(a.begin() + 8, a.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(le32(a, 24), 44100u);
  EXPECT_EQ(a[22], 2);   // channels
  EXPECT_EQ(a[34], 16);  // bits
  EXPECT_EQ(le32(a, 40), dataBytes);
  bool audible = false;
  for (size_t i = 44; i < a.size(); ++i) audible |= a[i] != 0;
  EXPECT_TRUE(audible);
  std::remove(song.c_str());
  std::remove(tempPath("a.wav").c_str());
  std::remove(tempPath("b.wav").c_str());
}

TEST(RenderAudio, BadSongsAndOptionsEndWithAMessage) {
  Options options;
  options.mode = Options::Mode::RenderAudio;
  options.output = tempPath("never.wav");
  options.songFile = tempPath("missing-song");
  EXPECT_EQ(runRenderAudio(options), 1);

  const std::string junk = tempPath("junk");
  {
    std::ofstream out(junk, std::ios::binary);
    out << "+SNT not a song at all";
  }
  options.songFile = junk;
  EXPECT_EQ(runRenderAudio(options), 1);
  options.endPosition = -1;
  EXPECT_EQ(runRenderAudio(options), 2);
  std::remove(junk.c_str());
  EXPECT_FALSE(std::ifstream(tempPath("never.wav")).good());
}
