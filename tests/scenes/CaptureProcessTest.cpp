// kylvander --capture and --screenshot run as a user runs them: a short test
// song (23 order steps of 16 ticks, about 6.9 seconds), no pictures (each
// stands in as transparent black), tiny frames.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "music/TestSongs.h"

namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CaptureProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("kyl-capture-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "data" / "show");
    const std::vector<uint8_t> song = makeTestSongImage(100, 1);
    std::ofstream(dir / "data" / "show" / "brumtakt", std::ios::binary)
        .write(reinterpret_cast<const char*>(song.data()), std::streamsize(song.size()));
  }
  void TearDown() override { fs::remove_all(dir); }

  // Runs kylvander on the test data with offscreen video; the exit code.
  int run(const std::string& arguments, const std::string& environment = "") {
    const std::string command = environment + " SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy '" +
                                std::string(KYL_EXECUTABLE) + "' --data '" +
                                (dir / "data" / "show").string() + "' " + arguments + " 2>'" +
                                (dir / "err.txt").string() + "' >/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string errors() { return slurp(dir / "err.txt"); }

  fs::path dir;
};

}  // namespace

TEST_F(CaptureProcessTest, FolderCaptureWritesEveryFrameAndTheSound) {
  const fs::path out = dir / "frames";
  ASSERT_EQ(run("--capture '" + out.string() + "/' --fps 10 --size 64x48"), 0) << errors();

  int frames = 0;
  for (const auto& entry : fs::directory_iterator(out))
    if (entry.path().extension() == ".png") ++frames;
  // 23 x 16 ticks of 826 frames at 44100 Hz: 6.89 s, frames 0 to 68.
  EXPECT_EQ(frames, 69);
  EXPECT_TRUE(fs::exists(out / "frame00068.png"));
  EXPECT_EQ(fs::file_size(out / "sound.wav"), 44u + 23u * 16u * 826u * 4u);

  // A screenshot is the capture's frame of that moment.
  const fs::path shot = dir / "shot.png";
  ASSERT_EQ(run("--screenshot 3.05 '" + shot.string() + "' --fps 10 --size 64x48"), 0) << errors();
  EXPECT_EQ(slurp(shot), slurp(out / "frame00030.png"));
}

TEST_F(CaptureProcessTest, MissingFfmpegIsNamed) {
  EXPECT_EQ(run("--capture '" + (dir / "show.mp4").string() + "'", "PATH=/nonexistent"), 1);
  EXPECT_NE(errors().find("ffmpeg"), std::string::npos) << errors();
  EXPECT_FALSE(fs::exists(dir / "show.mp4"));
}

TEST_F(CaptureProcessTest, ScreenshotPastTheEndIsRefused) {
  EXPECT_EQ(run("--screenshot 60 '" + (dir / "late.png").string() + "'"), 1);
  EXPECT_NE(errors().find("the show ends after"), std::string::npos) << errors();
}

TEST_F(CaptureProcessTest, AScreenshotFfmpegCannotWriteIsNamed) {
  const fs::path shot = dir / "no such folder" / "shot.png";
  EXPECT_EQ(run("--screenshot 0.5 '" + shot.string() + "' --size 64x48"), 1);
  EXPECT_NE(errors().find("kylvander: cannot write \"" + shot.string() + "\": ffmpeg failed"),
            std::string::npos)
      << errors();
}
