// Where the program looks for its data when no --data is given: beside an
// installed program first, then in the build's content folder.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "shell/DataDirectory.h"

namespace {

namespace fs = std::filesystem;

const std::string kBuildData = KYL_BINARY_DIR "/data/show";

class DataDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("kyl-datadir-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "usr" / "bin");
  }
  void TearDown() override { fs::remove_all(root); }
  fs::path root;
};

TEST_F(DataDirectoryTest, TheInstalledFolderComesBeforeTheBuildsOne) {
  const std::vector<std::string> candidates = defaultDataCandidates(root / "usr" / "bin");
  ASSERT_EQ(candidates.size(), 2u);
  EXPECT_EQ(candidates[0], (root / "usr" / "share" / "kylvander" / "show").string());
  EXPECT_EQ(candidates[1], kBuildData);

  // A program whose folder is unknown still has the build's folder.
  EXPECT_EQ(defaultDataCandidates({}), std::vector<std::string>{kBuildData});
}

TEST_F(DataDirectoryTest, TheFirstFolderThatExistsIsChosen) {
  const fs::path installed = root / "usr" / "share" / "kylvander" / "show";
  const fs::path build = root / "build" / "data" / "show";
  const std::vector<std::string> candidates = {installed.string(), build.string()};
  EXPECT_EQ(firstExistingFolder(candidates), "");

  // A file of that name is no data folder.
  fs::create_directories(installed.parent_path());
  std::ofstream(installed).close();
  fs::create_directories(build);
  EXPECT_EQ(firstExistingFolder(candidates), build.string());

  fs::remove(installed);
  fs::create_directories(installed);
  EXPECT_EQ(firstExistingFolder(candidates), installed.string());
}

TEST_F(DataDirectoryTest, DataGivenOnTheCommandLineWins) {
  Options options;
  options.dataDir = (root / "mine").string();
  EXPECT_EQ(dataDirectoryFor(options), options.dataDir);
}

}  // namespace
