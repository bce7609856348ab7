// The texture export end to end: kylvander --dump-textures into a temporary
// folder, its files checked against an independent computation of the
// generators and against the picture files they came from.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "ReferenceTextures.h"
#include "gfx/TgaWriter.h"
#include "shell/Modes.h"
#include "shell/Options.h"

namespace {

namespace fs = std::filesystem;
using reference::Rgba;

struct Tga {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // converted back to red, green, blue, alpha
};

Tga readTga(const fs::path& path) {
  Tga tga;
  std::FILE* file = std::fopen(path.string().c_str(), "rb");
  if (!file) return tga;
  uint8_t header[18];
  if (std::fread(header, 1, 18, file) == 18 && header[2] == 2 && header[16] == 32) {
    tga.width = header[12] | header[13] << 8;
    tga.height = header[14] | header[15] << 8;
    tga.rgba.resize(size_t(tga.width) * size_t(tga.height) * 4);
    if (std::fread(tga.rgba.data(), 1, tga.rgba.size(), file) != tga.rgba.size()) tga.rgba.clear();
    for (size_t i = 0; i + 3 < tga.rgba.size(); i += 4) std::swap(tga.rgba[i], tga.rgba[i + 2]);
  }
  std::fclose(file);
  return tga;
}

class DumpTexturesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // ctest runs each test as a process of its own, several at once: every
    // process exports into a folder of its own.
    root() = fs::path(testing::TempDir()) / ("kyl_dump_textures_" + std::to_string(getpid()));
    fs::remove_all(root());
    fs::create_directories(root() / "data" / "show");
    // One picture at the pictures' size; the others are missing.
    picture().resize(512 * 512);
    for (size_t i = 0; i < picture().size(); ++i) picture()[i] = uint32_t(i * 2654435761u);
    std::string error;
    ASSERT_TRUE(writeTga((root() / "data" / "part01_bg.tga").string().c_str(), 512, 512,
                         picture().data(), &error));
    Options options;
    options.mode = Options::Mode::DumpTextures;
    options.output = (root() / "out").string();
    options.dataDir = (root() / "data" / "show").string();
    testing::internal::CaptureStderr();
    exitCode() = runDumpTextures(options);
    messages() = testing::internal::GetCapturedStderr();
  }
  static fs::path& root() {
    static fs::path value;
    return value;
  }
  static std::vector<uint32_t>& picture() {
    static std::vector<uint32_t> value;
    return value;
  }
  static int& exitCode() {
    static int value = -1;
    return value;
  }
  static std::string& messages() {
    static std::string value;
    return value;
  }
  static Tga dumped(const char* name) { return readTga(root() / "out" / name); }
};

TEST_F(DumpTexturesTest, WritesEveryMemberOfEveryScene) {
  EXPECT_EQ(exitCode(), 0) << messages();
  const char* const expected[] = {
      "0-armsTexture", "0-armsEnvTexture", "0-glowTexture", "0-background", "0-overlay",
      "1-tunnelTexture", "1-tunnelEnvTexture", "1-portrait", "2-knotTexture",
      "2-knotEnvTexture", "2-swarmTexture", "2-background", "2-portrait", "3-photos0",
      "3-photos1", "3-photos2", "3-photos3", "3-logo", "3-glowTexture", "4-photos0",
      "4-photos1", "4-photos2", "4-photos3", "4-logo", "4-glowTexture", "5-scroller",
      "5-scrollOver", "5-sparkTexture", "6-columnTexture", "6-columnEnvTexture",
      "6-flareTexture", "6-background", "6-overlay", "7-knotTexture", "7-knotEnvTexture",
      "7-ribbonTexture", "7-background", "7-logo"};
  for (const char* name : expected) {
    const Tga tga = dumped((std::string(name) + ".tga").c_str());
    EXPECT_GT(tga.width, 0) << name;
    EXPECT_EQ(tga.rgba.size(), size_t(tga.width) * size_t(tga.height) * 4) << name;
  }
  // A missing picture is named on stderr and exported transparent black.
  EXPECT_NE(messages().find("../logga2.tga"), std::string::npos) << messages();
  const Tga logo = dumped("7-logo.tga");
  EXPECT_EQ(logo.width, 512);
  EXPECT_EQ(reference::maxDifference(logo.rgba, std::vector<uint8_t>(logo.rgba.size(), 0)), 0);
}

TEST_F(DumpTexturesTest, PicturesAreExportedExactly) {
  const Tga background = dumped("0-background.tga");
  ASSERT_EQ(background.width, 512);
  std::vector<uint8_t> original(picture().size() * 4);
  std::memcpy(original.data(), picture().data(), original.size());
  EXPECT_EQ(background.rgba, original);
}

TEST_F(DumpTexturesTest, GeneratedTexturesAgreeWithAnIndependentComputation) {
  const Rgba white{{1, 1, 1, 1}}, minusWhite{{-1, -1, -1, -1}}, clear{{0, 0, 0, 0}};
  auto surface = [&](Rgba radialSecond) {
    return reference::PlasmaParameters{white, minusWhite, 11, 4, 4, 1, clear, radialSecond,
                                       1.0f, 0.1f, 0.1f, 0.01f};
  };
  const reference::PlasmaParameters environment{
      white, {{0.34f, 0.2f, 0.04f, 0.2f}}, 12, 1, 1, 1, {{15, 22.5f, 22.5f, 30}}, clear,
      150.0f, 0.1f, 0.1f, 0.05f};
  struct Plasma {
    const char* name;
    int size;
    reference::PlasmaParameters parameters;
  };
  const Plasma plasmas[] = {
      {"0-armsTexture", 256, surface({{0, 0.28f, 0.56f, 0.7f}})},
      {"0-armsEnvTexture", 256, environment},
      {"1-tunnelTexture", 256, surface({{0, 0.72f, 1.44f, 1.8f}})},
      {"1-tunnelEnvTexture", 256, environment},
      {"2-knotTexture", 256, surface({{0.54f, 0.72f, 1.44f, 1.8f}})},
      {"2-knotEnvTexture", 256, environment},
      {"6-columnTexture", 512,
       {white, white, 11, 4, 4, 1, {{1.3f, 1.4f, 2, 1}}, {{0.21f, 0.49f, 0.56f, 0}}, 3.0f,
        0.2f, 0.2f, 0.01f}},
      {"6-columnEnvTexture", 512,
       {white, white, 13, 3, 4, 1, {{1.4f, 1.2f, 1.7f, 1}}, {{0, 0.28f, 0.07f, 0}}, 3.0f, 0.2f,
        0.2f, 0.01f}},
      {"7-knotTexture", 256, surface({{1.08f, 1.44f, 2.16f, 1.8f}})},
      {"7-knotEnvTexture", 256, environment},
  };
  for (const Plasma& p : plasmas) {
    const Tga tga = dumped((std::string(p.name) + ".tga").c_str());
    ASSERT_EQ(tga.width, p.size) << p.name;
    EXPECT_LE(reference::maxDifference(tga.rgba, reference::plasmaTexture(p.size, p.parameters)),
              1)
        << p.name;
  }
  struct Radial {
    const char* name;
    int size;
    Rgba first, second;
    float exponent;
  };
  const Radial radials[] = {
      {"0-glowTexture", 256, {{1, 1.5f, 2, 1}}, clear, 10},
      {"2-swarmTexture", 256, {{5, 4.5f, 2, 1}}, clear, 5},
      {"3-glowTexture", 256, {{0.55f, 0.5f, 0.5f, 0.5f}}, {{-0.3f, -0.2f, -0.1f, 0}}, 7},
      {"4-glowTexture", 256, {{0.55f, 0.5f, 0.5f, 0.5f}}, {{-0.3f, -0.2f, -0.1f, 0}}, 7},
      {"5-sparkTexture", 256, {{1, 1, 1.5f, 1}}, clear, 2},
      {"6-flareTexture", 512, {{1.5f, 1.5f, 1, 1}}, clear, 5},
      {"7-ribbonTexture", 256, {{0.6f, 0.6f, 0.72f, 0.6f}}, clear, 1},
  };
  for (const Radial& r : radials) {
    const Tga tga = dumped((std::string(r.name) + ".tga").c_str());
    ASSERT_EQ(tga.width, r.size) << r.name;
    EXPECT_LE(reference::maxDifference(
                  tga.rgba, reference::radialTexture(r.size, r.first, r.second, r.exponent)),
              1)
        << r.name;
  }
}

TEST_F(DumpTexturesTest, UnusableOutputFolderFailsWithAMessage) {
  Options options;
  options.mode = Options::Mode::DumpTextures;
  options.output = (root() / "data" / "part01_bg.tga" / "inside").string();  // under a file
  options.dataDir = (root() / "data" / "show").string();
  testing::internal::CaptureStderr();
  EXPECT_EQ(runDumpTextures(options), 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("output folder"), std::string::npos);
}

}  // namespace
