// Every scene drawn through the fixed-function layer on OpenGL ES 2 against
// the same frame drawn by Mesa's own fixed-function pipeline: both programs
// draw the show from the start on the virtual clock, at a moment inside
// each scene, as "kylvander --screenshot" does.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "PpmImage.h"

namespace {

// A moment in each scene, in the order the show plays them (scenes 0, 1, 5,
// 7, 3, 4, 2, 6): four seconds into its first order step.
const double kMoments[] = {4.0, 32.2, 46.3, 74.5, 102.7, 116.9, 131.0, 145.1};
const int kScenes[] = {0, 1, 5, 7, 3, 4, 2, 6};
// Frames per second of the virtual clock: every frame before a moment is
// drawn, so fewer keep the test short; both sides draw the same ones.
constexpr int kFps = 2;

// The tolerance: the layer's shaders compute what Mesa's fixed-function
// shaders compute, in the same single precision, so the pictures may differ
// only by rounding: a mean absolute difference below a hundredth of an
// 8-bit step, and 99.9 % of the channels within one step.
constexpr double kMaxMean = 0.05;
constexpr int kMaxP999 = 1;

std::string run(const char* program, const std::string& out) {
  std::string command = std::string(program) + " " + KYL_SHOW_DATA + " " + std::to_string(kFps) +
                        " " + out;
  for (double m : kMoments) command += " " + std::to_string(m);
  return command;
}

TEST(GlFixedScenes, EverySceneMatchesTheFixedFunctionPipeline) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("kyl-glfixed-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string reference = (dir / "gl").string();
  const std::string layer = (dir / "gles").string();
  ASSERT_EQ(std::system(run(KYL_SCENE_FRAMES, reference).c_str()), 0);
  ASSERT_EQ(std::system(run(KYL_SCENE_FRAMES_GLES, layer).c_str()), 0);

  for (size_t i = 0; i < sizeof kMoments / sizeof kMoments[0]; ++i) {
    PpmImage a, b;
    ASSERT_TRUE(readPpm(reference + "-" + std::to_string(i) + ".ppm", &a));
    ASSERT_TRUE(readPpm(layer + "-" + std::to_string(i) + ".ppm", &b));
    const PictureDifference d = comparePictures(a, b);
    std::printf("scene %d at %.1f s: mean %.4f, 99.9%% %d, max %d, changed %.3f%%\n", kScenes[i],
                kMoments[i], d.mean, d.p999, d.max, 100.0 * d.changed);
    EXPECT_LE(d.mean, kMaxMean) << "scene " << kScenes[i];
    EXPECT_LE(d.p999, kMaxP999) << "scene " << kScenes[i];
  }
  fs::remove_all(dir);
}

}  // namespace
