#include "shell/SongFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

class SongFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("kyl-songfile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string reasonFor(const fs::path& path) {
    try {
      readSongFile(path.string().c_str());
    } catch (const SongFileError& error) {
      EXPECT_EQ(error.file, path.string());
      return error.reason;
    }
    ADD_FAILURE() << "read " << path;
    return "";
  }

  fs::path dir;
};

TEST_F(SongFileTest, ReadsTheWholeFile) {
  std::string bytes("+SNT\0\x01\x02-SNT GOAT", 15);
  std::ofstream(dir / "brumtakt", std::ios::binary) << bytes;
  auto image = readSongFile((dir / "brumtakt").string().c_str());
  EXPECT_EQ(std::string(image.begin(), image.end()), bytes);
}

TEST_F(SongFileTest, EveryFailureNamesItsReason) {
  EXPECT_NE(reasonFor(dir / "brumtakt").find("no such file"), std::string::npos);
  fs::create_directory(dir / "brumtakt");
  EXPECT_EQ(reasonFor(dir / "brumtakt"), "it is a directory");
  std::ofstream(dir / "empty").close();
  EXPECT_EQ(reasonFor(dir / "empty"), "it is empty");
#ifndef _WIN32
  EXPECT_EQ(reasonFor("/dev/null"), "it is not a regular file");
  if (::geteuid() != 0) {  // root reads anything
    std::ofstream(dir / "locked") << "x";
    fs::permissions(dir / "locked", fs::perms::none);
    EXPECT_NE(reasonFor(dir / "locked").find("Permission denied"), std::string::npos);
  }
#endif
}

}  // namespace
