#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include <unistd.h>

#include "GlContextFixture.h"
#include "ReferenceTextures.h"
#include "gfx/Image.h"
#include "gfx/Texture.h"
#include "gfx/TextureRecorder.h"
#include "gfx/TgaWriter.h"

namespace {

using TextureTest = GlContextTest;

std::vector<uint8_t> bytesOf(const std::vector<uint32_t>& packed) {
  std::vector<uint8_t> bytes(packed.size() * 4);
  std::memcpy(bytes.data(), packed.data(), bytes.size());
  return bytes;
}

std::string tempPath(const char* name) {
  return testing::TempDir() + "/kyl_gfx_" + std::to_string(::getpid()) + "_" + name;
}

TEST_F(TextureTest, BindSwitchesGenerationOnOnlyForGeneratingModes) {
  const uint32_t texel = 0xFF00FF00;
  struct Case {
    TextureMode mode;
    bool generates;
    GLint generation;
  };
  for (const Case& c : {Case{TextureMode::Plain, false, 0}, Case{TextureMode::FromNormals, false, 0},
                        Case{TextureMode::SphereMap, true, GL_SPHERE_MAP},
                        Case{TextureMode::EyeLinear, true, GL_EYE_LINEAR},
                        Case{TextureMode::ObjectLinear, true, GL_OBJECT_LINEAR}}) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    Texture texture(1, 1, c.mode, &texel);
    EXPECT_EQ(texture.usesTexGen(), c.generates);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);  // the upload restores the binding
    texture.bind();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), GLint(texture.name()));
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_GEN_S) == GL_TRUE, c.generates);
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_GEN_T) == GL_TRUE, c.generates);
    if (c.generates) {
      GLint mode = 0;
      glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &mode);
      EXPECT_EQ(mode, c.generation);
    }
    glPopAttrib();
  }
}

TEST_F(TextureTest, GeneratedTexturesMatchAnIndependentComputation) {
  TextureRecorder::start();
  Image image(128, 128);
  image.textureMode = TextureMode::FromNormals;
  std::unique_ptr<Texture> surface(image.plasmaTexture(
      Color(1, 1, 1, 1), Color(-1, -1, -1, -1), 11 + 0x10000, 4 + 0x100, 4, 1, Color(0, 0, 0, 0),
      Color(0, 0.28f, 0.56f, 0.7f), 1.0f, 0.1f, 0.1f, 0.01f));
  image.textureMode = TextureMode::SphereMap;
  std::unique_ptr<Texture> glow(image.radialTexture(Color(1, 1.5f, 2, 1), Color(0, 0, 0, 0), 10));
  const std::vector<TextureRecorder::Upload> uploads = TextureRecorder::take();
  TextureRecorder::stop();
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(surface->mode(), TextureMode::FromNormals);
  EXPECT_EQ(glow->mode(), TextureMode::SphereMap);
  EXPECT_EQ(uploads[0].texture, surface.get());
  // Seed and waves keep their low 16 and 8 bits.
  const reference::PlasmaParameters params{{{1, 1, 1, 1}}, {{-1, -1, -1, -1}}, 11, 4, 4, 1,
                                            {{0, 0, 0, 0}}, {{0, 0.28f, 0.56f, 0.7f}},
                                            1.0f, 0.1f, 0.1f, 0.01f};
  EXPECT_LE(reference::maxDifference(bytesOf(uploads[0].packed),
                                     reference::plasmaTexture(128, params)),
            1);
  EXPECT_LE(reference::maxDifference(
                bytesOf(uploads[1].packed),
                reference::radialTexture(128, {{1, 1.5f, 2, 1}}, {{0, 0, 0, 0}}, 10)),
            1);
  EXPECT_EQ(image.root.op, nullptr);  // the operators were locals of the call
}

TEST_F(TextureTest, PictureFileRoundTripsExactly) {
  // Every byte value in every channel.
  std::vector<uint32_t> packed(16 * 16);
  for (uint32_t i = 0; i < packed.size(); ++i) {
    const uint8_t bytes[4] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), uint8_t(i * 5 + 1)};
    std::memcpy(&packed[i], bytes, 4);
  }
  const std::string path = tempPath("roundtrip.tga");
  std::string error;
  ASSERT_TRUE(writeTga(path.c_str(), 16, 16, packed.data(), &error)) << error;
  TextureRecorder::start();
  Image image(16, 16);
  std::unique_ptr<Texture> texture(image.loadTexture(path.c_str()));
  const std::vector<TextureRecorder::Upload> uploads = TextureRecorder::take();
  TextureRecorder::stop();
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_EQ(uploads[0].packed, packed);
  std::remove(path.c_str());
}

TEST_F(TextureTest, MissingShortOrImpossiblePicturesAreTransparentBlack) {
  std::vector<uint32_t> packed(8 * 8, 0xFFFFFFFF);
  const std::string shortPath = tempPath("short.tga");
  const std::string hugePath = tempPath("huge.tga");
  std::string error;
  ASSERT_TRUE(writeTga(shortPath.c_str(), 8, 8, packed.data(), &error));
  ASSERT_TRUE(writeTga(hugePath.c_str(), 8, 8, packed.data(), &error));
  {
    std::FILE* f = std::fopen(shortPath.c_str(), "r+b");
    ASSERT_TRUE(f);
    const uint8_t height = 9;  // promises a row more than it holds
    std::fseek(f, 14, SEEK_SET);
    std::fwrite(&height, 1, 1, f);
    std::fclose(f);
    f = std::fopen(hugePath.c_str(), "r+b");
    const uint8_t width[2] = {0xFF, 0xFF};
    std::fseek(f, 12, SEEK_SET);
    std::fwrite(width, 1, 2, f);
    std::fclose(f);
  }
  const std::string missingPath = tempPath("missing.tga");
  TextureRecorder::start();
  Image image(8, 8);
  for (const std::string& path : {missingPath, shortPath, hugePath}) {
    testing::internal::CaptureStderr();
    std::unique_ptr<Texture> texture(image.loadTexture(path.c_str()));
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_TRUE(texture);
  }
  const std::vector<TextureRecorder::Upload> uploads = TextureRecorder::take();
  TextureRecorder::stop();
  ASSERT_EQ(uploads.size(), 3u);
  for (const TextureRecorder::Upload& upload : uploads)
    EXPECT_EQ(upload.packed, std::vector<uint32_t>(64, 0u));
  std::remove(shortPath.c_str());
  std::remove(hugePath.c_str());
}

}  // namespace
