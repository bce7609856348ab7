// Every stored fuzz input, seeds (fuzz/corpus/TARGET) and inputs that once
// failed (fuzz/regression/TARGET), through the same code the fuzz targets
// run. Under the sanitizer builds a memory fault fails here as it did there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzInputs.h"
#include "GuardedImage.h"

namespace {

namespace fs = std::filesystem;

struct StoredInput {
  std::string name;
  std::vector<uint8_t> bytes;
};

// The files of fuzz/FOLDER/TARGET in name order; none when it is missing.
std::vector<StoredInput> storedInputs(const char* folder, const char* target) {
  std::vector<StoredInput> inputs;
  const fs::path dir = fs::path(KYL_SOURCE_DIR) / "fuzz" / folder / target;
  if (!fs::is_directory(dir)) return inputs;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    inputs.push_back({entry.path().filename().string(),
                      std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {})});
  }
  std::sort(inputs.begin(), inputs.end(),
            [](const StoredInput& a, const StoredInput& b) { return a.name < b.name; });
  return inputs;
}

}  // namespace

TEST(FuzzReplay, SeedSongsLoadAndPlay) {
  const auto seeds = storedInputs("corpus", "song");
  ASSERT_FALSE(seeds.empty());
  for (const auto& seed : seeds)
    EXPECT_TRUE(runSongImage(seed.bytes.data(), seed.bytes.size(), true)) << seed.name;
}

TEST(FuzzReplay, SeedSourcesCompileAndLoad) {
  const auto seeds = storedInputs("corpus", "songc");
  ASSERT_FALSE(seeds.empty());
  for (const auto& seed : seeds)
    EXPECT_TRUE(runSongSource(seed.bytes.data(), seed.bytes.size())) << seed.name;
}

TEST(FuzzReplay, SeedMidiFilesImport) {
  const auto seeds = storedInputs("corpus", "midi");
  ASSERT_FALSE(seeds.empty());
  for (const auto& seed : seeds)
    EXPECT_TRUE(runMidiFile(seed.bytes.data(), seed.bytes.size())) << seed.name;
}

TEST(FuzzReplay, SeedPicturesDecodeOrAreRefusedByTheirHeader) {
  const auto seeds = storedInputs("corpus", "tga");
  ASSERT_FALSE(seeds.empty());
  for (const auto& seed : seeds) {
    // Names ending in "-short" hold fewer pixels than their header promises.
    const bool intact = seed.name.find("-short") == std::string::npos;
    EXPECT_EQ(runTgaFile(seed.bytes.data(), seed.bytes.size()), intact) << seed.name;
  }
}

// Inputs that once made a target fail (fuzz/regression/README.md says which
// and how): each now runs to its end (whether it is refused or accepted is
// each reader's own business). A replay with nothing to run would pass while
// checking nothing: it fails, as does a folder that names no target.
TEST(FuzzReplay, RegressionInputsRunToTheirEnd) {
  const fs::path regression = fs::path(KYL_SOURCE_DIR) / "fuzz" / "regression";
  ASSERT_TRUE(fs::is_directory(regression)) << regression;
  for (const auto& entry : fs::directory_iterator(regression)) {
    if (!entry.is_directory()) continue;
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "song" || name == "tga" || name == "songc" || name == "midi")
        << "fuzz/regression/" << name << " is no fuzz target's folder";
  }
  size_t replayed = 0;
  for (const auto& input : storedInputs("regression", "song")) {
    SCOPED_TRACE(input.name);
    runSongImage(input.bytes.data(), input.bytes.size(), true);
    ++replayed;
  }
  for (const auto& input : storedInputs("regression", "tga")) {
    SCOPED_TRACE(input.name);
    runTgaFile(input.bytes.data(), input.bytes.size());
    ++replayed;
  }
  for (const auto& input : storedInputs("regression", "songc")) {
    SCOPED_TRACE(input.name);
    runSongSource(input.bytes.data(), input.bytes.size());
    ++replayed;
  }
  for (const auto& input : storedInputs("regression", "midi")) {
    SCOPED_TRACE(input.name);
    runMidiFile(input.bytes.data(), input.bytes.size());
    ++replayed;
  }
  EXPECT_GT(replayed, 0u) << "no input in " << regression;
}

// The fast fuzz build has no address sanitizer: there the guard page is what
// turns a read past an input into a crash the fuzzer sees.
TEST(FuzzReplayDeathTest, AReadPastAGuardedInputCrashes) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (size_t size : {size_t(7), size_t(4096), size_t(5000)}) {
    std::vector<uint8_t> bytes(size, 0x5A);
    const GuardedImage image(bytes.data(), bytes.size());
    ASSERT_EQ(image.size(), size);
    EXPECT_EQ(0, std::memcmp(image.data(), bytes.data(), size));
    EXPECT_DEATH(
        {
          const volatile uint8_t* past = image.data() + size;
          (void)*past;
        },
        "")
        << size;
  }
}
