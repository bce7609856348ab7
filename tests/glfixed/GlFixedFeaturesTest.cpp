// The layer's features one at a time against Mesa's fixed-function
// pipeline: each case of kyl_glfixed_cases (FeatureCases.cpp) drawn by both
// programs and compared. A fault in one feature shows here by name, where
// the whole-scene comparison would only show a scene a little off.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "PpmImage.h"

namespace {

// Both sides rasterise with llvmpipe, so edges and texels fall alike; the
// layer's shaders compute in the same single precision as Mesa's
// fixed-function ones, and may round a channel differently by a step.
constexpr double kMaxMean = 0.05;
constexpr int kMaxDifference = 2;

std::vector<std::string> caseNames() {
  std::vector<std::string> names;
  FILE* list = popen((std::string(KYL_GLFIXED_CASES) + " --list").c_str(), "r");
  if (!list) return names;
  char line[256];
  while (std::fgets(line, sizeof line, list)) {
    std::string name(line);
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    if (!name.empty()) names.push_back(name);
  }
  pclose(list);
  return names;
}

TEST(GlFixedFeatures, EveryFeatureMatchesTheFixedFunctionPipeline) {
  namespace fs = std::filesystem;
  const std::vector<std::string> names = caseNames();
  ASSERT_GE(names.size(), 20u);
  const fs::path dir = fs::temp_directory_path() / ("kyl-glfixed-cases-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string reference = (dir / "gl").string();
  const std::string layer = (dir / "gles").string();
  ASSERT_EQ(std::system((std::string(KYL_GLFIXED_CASES) + " " + reference).c_str()), 0);
  ASSERT_EQ(std::system((std::string(KYL_GLFIXED_CASES_GLES) + " " + layer).c_str()), 0);

  for (const std::string& name : names) {
    PpmImage a, b;
    ASSERT_TRUE(readPpm(reference + "-" + name + ".ppm", &a)) << name;
    ASSERT_TRUE(readPpm(layer + "-" + name + ".ppm", &b)) << name;
    const PictureDifference d = comparePictures(a, b);
    std::printf("%-24s mean %.4f, max %d, changed %.3f%%\n", name.c_str(), d.mean, d.max,
                100.0 * d.changed);
    EXPECT_LE(d.mean, kMaxMean) << name;
    EXPECT_LE(d.max, kMaxDifference) << name;
  }
  fs::remove_all(dir);
}

}  // namespace
