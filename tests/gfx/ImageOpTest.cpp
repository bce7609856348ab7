#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ReferenceTextures.h"
#include "gfx/DistortOp.h"
#include "gfx/OpNode.h"
#include "gfx/PackColor.h"
#include "gfx/PlasmaOp.h"
#include "gfx/RadialGradientOp.h"
#include "gfx/SampleWrapped.h"
#include "gfx/TgaSourceOp.h"
#include "platform/Random.h"

namespace {

std::vector<uint8_t> packAll(const Color* pixels, size_t count) {
  std::vector<uint8_t> bytes(count * 4);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t p = packColor(pixels[i]);
    std::memcpy(&bytes[i * 4], &p, 4);
  }
  return bytes;
}

// A bottom-up 32-bit TGA whose pixel i has bytes (i, i*7, i*13, 255 - i) mod 256
// in the file's blue, green, red, alpha order.
std::vector<uint8_t> makeTga(int w, int h) {
  std::vector<uint8_t> file(18 + size_t(w) * size_t(h) * 4, 0);
  file[2] = 2;
  file[12] = uint8_t(w);
  file[13] = uint8_t(w >> 8);
  file[14] = uint8_t(h);
  file[15] = uint8_t(h >> 8);
  file[16] = 32;
  for (int i = 0; i < w * h; ++i) {
    uint8_t* p = &file[18 + size_t(i) * 4];
    p[0] = uint8_t(i);
    p[1] = uint8_t(i * 7);
    p[2] = uint8_t(i * 13);
    p[3] = uint8_t(255 - i);
  }
  return file;
}

TEST(SampleWrapped, SumWeightsAndWrapAround) {
  // 4 x 2 buffer with red = column + 10 * row.
  Color buffer[8];
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 4; ++c) buffer[r * 4 + c] = Color(float(c + 10 * r), 0, 0, 1);
  // Whole coordinates: half the pixel, a quarter right, a quarter below.
  EXPECT_FLOAT_EQ(sampleWrapped(buffer, 4, 2, 1, 0).red, 0.5f * 1 + 0.25f * 2 + 0.25f * 11);
  // Last column blends with column 0, last row with row 0.
  EXPECT_FLOAT_EQ(sampleWrapped(buffer, 4, 2, 3, 1).red, 0.5f * 13 + 0.25f * 10 + 0.25f * 3);
  // A negative coordinate wraps to the far edge (power-of-two sizes).
  EXPECT_FLOAT_EQ(sampleWrapped(buffer, 4, 2, -1, 0).red, sampleWrapped(buffer, 4, 2, 3, 0).red);
  // Fractions: weights (2-fx-fy)/4, (1+fx-fy)/4, (1-fx+fy)/4, (fx+fy)/4.
  const float fx = 0.5f, fy = 0.25f;
  const float expected = 0 * (2 - fx - fy) / 4 + 1 * (1 + fx - fy) / 4 + 10 * (1 - fx + fy) / 4 +
                         11 * (fx + fy) / 4;
  EXPECT_FLOAT_EQ(sampleWrapped(buffer, 4, 2, fx, fy).red, expected);
  EXPECT_FLOAT_EQ(sampleWrapped(buffer, 4, 2, fx, fy).alpha, 1.0f);
  // Far out of range or not finite: no undefined conversion.
  EXPECT_TRUE(std::isfinite(sampleWrapped(buffer, 4, 2, 1e30f, NAN).red));
}

TEST(TgaSourceOp, SameSizeDecodesEveryByteExactly) {
  const std::vector<uint8_t> file = makeTga(16, 16);
  TgaSourceOp source(file.data(), file.size(), "test.tga");
  ColorBuffer pixels = source.generate(nullptr, nullptr, 16, 16);
  const std::vector<uint8_t> bytes = packAll(pixels.get(), 256);
  for (int i = 0; i < 256; ++i) {
    const uint8_t* in = &file[18 + size_t(i) * 4];
    EXPECT_EQ(bytes[size_t(i) * 4 + 0], in[2]) << i;  // red
    EXPECT_EQ(bytes[size_t(i) * 4 + 1], in[1]) << i;  // green
    EXPECT_EQ(bytes[size_t(i) * 4 + 2], in[0]) << i;  // blue
    EXPECT_EQ(bytes[size_t(i) * 4 + 3], in[3]) << i;  // alpha
  }
}

TEST(TgaSourceOp, HalfSizeSamplesEvenPixelsWithTheSumWeights) {
  const std::vector<uint8_t> file = makeTga(16, 8);
  TgaSourceOp source(file.data(), file.size(), "test.tga");
  ColorBuffer pixels = source.generate(nullptr, nullptr, 8, 4);
  auto blue = [&](int r, int c) { return float(file[18 + size_t(r * 16 + c) * 4]) / 255.0f; };
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 8; ++c) {
      const float expected =
          (2 * blue(2 * r, 2 * c) + blue(2 * r, 2 * c + 1) + blue(2 * r + 1, 2 * c)) / 4;
      EXPECT_NEAR(pixels[size_t(r * 8 + c)].blue, expected, 1e-6f) << r << "," << c;
    }
}

TEST(TgaSourceOp, BadFilesDecodeAsTransparentBlackWithOneLine) {
  std::vector<uint8_t> shortFile = makeTga(8, 8);
  shortFile.resize(shortFile.size() - 1);
  std::vector<uint8_t> zeroWidth = makeTga(8, 8);
  zeroWidth[12] = 0;
  std::vector<uint8_t> huge = makeTga(8, 8);
  huge[13] = 0x30;  // 12296 wide
  const std::vector<uint8_t> headerOnly(10, 0);
  for (const std::vector<uint8_t>* file :
       std::vector<const std::vector<uint8_t>*>{&shortFile, &zeroWidth, &huge, &headerOnly}) {
    TgaSourceOp source(file->data(), file->size(), "bad.tga");
    EXPECT_NE(source.problem(), nullptr);
    testing::internal::CaptureStderr();
    ColorBuffer pixels = source.generate(nullptr, nullptr, 4, 4);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("bad.tga"), std::string::npos) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    for (int i = 0; i < 16; ++i) EXPECT_EQ(packColor(pixels[size_t(i)]), 0u);
  }
}

TEST(RadialGradientOp, CentreEdgeAndMiddle) {
  RadialGradientOp gradient(Color(0, 0, 0, 0), Color(1, 1, 1, 1), 2.0f);
  ColorBuffer p = gradient.generate(nullptr, nullptr, 256, 256);
  EXPECT_EQ(p[128 * 256 + 128].red, 0.0f);
  EXPECT_EQ(p[0].alpha, 1.0f);                        // corner, distance above 1
  EXPECT_EQ(p[128 * 256 + 0].green, 1.0f);            // left edge, distance 1
  EXPECT_FLOAT_EQ(p[128 * 256 + 192].blue, 0.25f);    // distance 0.5, squared
  RadialGradientOp negative(Color(-1, -0.5f, -2, -1), Color(-0.3f, 0, -1, 0), 1.0f);
  ColorBuffer q = negative.generate(nullptr, nullptr, 32, 32);
  for (int i = 0; i < 32 * 32; ++i) {
    EXPECT_GE(q[size_t(i)].red, 0.0f);
    EXPECT_GE(q[size_t(i)].blue, 0.0f);
  }
}

TEST(PlasmaOp, DeterministicAndAgreesWithAnIndependentComputation) {
  PlasmaOp plasma(Color(1, 1, 1, 1), Color(-1, -1, -1, -1), 11, 4, 4, 1);
  platform::srand(99);
  ColorBuffer a = plasma.generate(nullptr, nullptr, 64, 64);
  ColorBuffer b = plasma.generate(nullptr, nullptr, 64, 64);
  EXPECT_EQ(std::memcmp(a.get(), b.get(), sizeof(Color) * 64 * 64), 0);
  const reference::Picture expected =
      reference::plasma(64, 64, {{1, 1, 1, 1}}, {{-1, -1, -1, -1}}, 11, 4, 4, 1);
  EXPECT_LE(reference::maxDifference(packAll(a.get(), 64 * 64), reference::pack(expected)), 1);
  // The plasma is not flat.
  EXPECT_NE(packColor(a[0]), packColor(a[40 * 64 + 17]));
}

TEST(PlasmaOp, NoRangesGiveOneColourAndNoWavesGiveBlack) {
  PlasmaOp flat(Color(1, 0.5f, 0.25f, 1), Color(0.2f, 0.4f, 0.6f, 1), 5, 3, 0, 0);
  ColorBuffer p = flat.generate(nullptr, nullptr, 16, 16);
  for (int i = 1; i < 256; ++i) EXPECT_EQ(packColor(p[size_t(i)]), packColor(p[0]));
  PlasmaOp none(Color(1, 1, 1, 1), Color(1, 1, 1, 1), 5, 0, 4, 4);
  ColorBuffer q = none.generate(nullptr, nullptr, 8, 8);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(packColor(q[size_t(i)]), 0u);
}

TEST(OpNode, PlasmaTreeAgreesWithAnIndependentComputation) {
  const reference::PlasmaParameters params{{{1, 1, 1, 1}}, {{0.34f, 0.2f, 0.04f, 0.2f}},
                                            12, 1, 1, 1, {{15, 22.5f, 22.5f, 30}},
                                            {{0, 0, 0, 0}}, 150.0f, 0.1f, 0.1f, 0.05f};
  RadialGradientOp gradient(Color(15, 22.5f, 22.5f, 30), Color(0, 0, 0, 0), 150.0f);
  PlasmaOp plasma(Color(1, 1, 1, 1), Color(0.34f, 0.2f, 0.04f, 0.2f), 12, 1, 1, 1);
  DistortOp distort(0.1f, 0.1f, 0.05f);
  OpNode first, second, root;
  first.op = &gradient;
  second.op = &plasma;
  root.op = &distort;
  root.first = &first;
  root.second = &second;
  ColorBuffer result = root.evaluate(128, 128);
  ASSERT_TRUE(result);
  EXPECT_LE(reference::maxDifference(packAll(result.get(), 128 * 128),
                                     reference::plasmaTexture(128, params)),
            1);
  EXPECT_FALSE(OpNode().evaluate(4, 4));
}

std::vector<uint8_t> saved(ImageOp& op) {
  std::FILE* file = std::tmpfile();
  op.save(file);
  std::vector<uint8_t> bytes(64);
  std::rewind(file);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  std::fclose(file);
  return bytes;
}

std::FILE* fileWith(const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  return file;
}

TEST(OperatorRecords, BytesAndRoundTrips) {
  DistortOp distort(0.15f, 0.15f, 0.3f);
  EXPECT_EQ(saved(distort), (std::vector<uint8_t>{0x81, 38, 38, 76}));
  DistortOp loaded(0, 0, 0);
  std::FILE* file = fileWith({38, 38, 76});
  loaded.load(file);
  std::fclose(file);
  EXPECT_FLOAT_EQ(loaded.strengthX, 38.0f / 255);
  EXPECT_FLOAT_EQ(loaded.frequency, 76.0f / 255);

  RadialGradientOp gradient(Color(-1, 0.5f, 1, 1), Color(0, 0, 0, 2), 7.0f);
  EXPECT_EQ(saved(gradient), (std::vector<uint8_t>{0x02, 0x01, 127, 255, 255, 0, 0, 0, 0xFE}));

  PlasmaOp plasma(Color(1, 0, 0, 1), Color(0, 1, 0, 1), 0x1234, 4, 8, 2);
  EXPECT_EQ(saved(plasma), (std::vector<uint8_t>{0x01, 255, 0, 0, 255, 0, 255, 0, 255, 0x34, 0x12,
                                                 4, 8, 2}));
  TgaSourceOp source(nullptr, 0, "none");
  EXPECT_EQ(saved(source), (std::vector<uint8_t>{0x05}));

  // A stream of records read back by header byte.
  std::vector<uint8_t> stream = saved(plasma);
  const std::vector<uint8_t> more = saved(distort);
  stream.insert(stream.end(), more.begin(), more.end());
  file = fileWith(stream);
  std::unique_ptr<ImageOp> first = ImageOp::readRecord(file);
  std::unique_ptr<ImageOp> second = ImageOp::readRecord(file);
  std::unique_ptr<ImageOp> end = ImageOp::readRecord(file);
  std::fclose(file);
  ASSERT_TRUE(first && second);
  EXPECT_FALSE(end);
  EXPECT_EQ(static_cast<PlasmaOp*>(first.get())->seed, 0x1234);
  EXPECT_EQ(second->arity, 2);
  EXPECT_FLOAT_EQ(static_cast<DistortOp*>(second.get())->strengthY, 38.0f / 255);

  // A short record leaves what it could not read.
  PlasmaOp truncated;
  file = fileWith({255, 255, 255});
  truncated.load(file);
  std::fclose(file);
  EXPECT_EQ(truncated.seed, 6);
  EXPECT_FLOAT_EQ(truncated.positive.green, 0.9f);
}

}  // namespace
