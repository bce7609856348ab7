#include "gfx/Image.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "gfx/DistortOp.h"
#include "gfx/PackColor.h"
#include "gfx/PlasmaOp.h"
#include "gfx/RadialGradientOp.h"
#include "gfx/Texture.h"
#include "gfx/TgaSourceOp.h"

Image::Image(int width, int height)
    : width(width > 0 ? width : 1),
      height(height > 0 ? height : 1),
      pixels(size_t(this->width) * size_t(this->height)),
      packed(pixels.size()) {}

Texture* Image::loadTexture(const char* path) {
  std::vector<uint8_t> bytes;
  const char* problem = nullptr;
  std::FILE* file = std::fopen(path, "rb");
  if (!file) {
    problem = std::strerror(errno);
  } else {
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
      problem = "cannot be read";
    } else {
      bytes.resize(size_t(size));
      // A short read leaves a short buffer, which the decoder reports.
      bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    }
    std::fclose(file);
  }
  if (problem) {
    std::fprintf(stderr, "kylvander: picture \"%s\": %s; drawn transparent black\n", path,
                 problem);
    root = OpNode();
    return makeTexture();
  }
  return textureFromTga(bytes.data(), bytes.size(), path);
}

Texture* Image::textureFromTga(const uint8_t* tga, size_t size, const char* sourceName) {
  TgaSourceOp source(tga, size, sourceName);
  root = OpNode();
  root.op = &source;
  return makeTexture();
}

Texture* Image::radialTexture(Color first, Color second, float exponent) {
  RadialGradientOp gradient(first, second, exponent);
  root = OpNode();
  root.op = &gradient;
  return makeTexture();
}

Texture* Image::plasmaTexture(Color positive, Color negative, int seed, int waves, int rangeX,
                              int rangeY, Color radialFirst, Color radialSecond,
                              float radialExponent, float strengthX, float strengthY,
                              float frequency) {
  RadialGradientOp gradient(radialFirst, radialSecond, radialExponent);
  PlasmaOp plasma(positive, negative, uint16_t(seed & 0xFFFF), uint8_t(waves & 0xFF),
                  uint8_t(rangeX & 0xFF), uint8_t(rangeY & 0xFF));
  DistortOp distort(strengthX, strengthY, frequency);
  OpNode gradientNode;
  gradientNode.op = &gradient;
  OpNode plasmaNode;
  plasmaNode.op = &plasma;
  root = OpNode();
  root.op = &distort;
  root.first = &gradientNode;
  root.second = &plasmaNode;
  return makeTexture();
}

Texture* Image::makeTexture() {
  ColorBuffer result = root.evaluate(width, height);
  // The operators were locals of the calling operation: forget them now.
  root = OpNode();
  if (result) {
    std::copy(result.get(), result.get() + pixels.size(), pixels.begin());
  } else {
    std::fill(pixels.begin(), pixels.end(), Color());
  }
  for (size_t i = 0; i < pixels.size(); ++i) packed[i] = packColor(pixels[i]);
  return new Texture(width, height, textureMode, packed.data());
}
