// The texture workbench: an Image of a fixed size evaluates a small
// operator tree into float pixels, packs them into bytes and hands them to a
// new Texture. Scenes use one for pictures (512 x 512) and one for generated
// surfaces (256 x 256 or 512 x 512) while they are constructed, set
// textureMode before each call, and keep only the Textures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/Color.h"
#include "gfx/OpNode.h"
#include "gfx/TextureMode.h"

class Texture;

class Image {
 public:
  Image(int width, int height);
  virtual ~Image() = default;
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  // Reads the whole file and decodes it (textureFromTga). A file that cannot
  // be read, is short or has an impossible header is reported on stderr in
  // one line and becomes a transparent black texture.
  Texture* loadTexture(const char* path);
  // Decodes an uncompressed 32-bit TGA of `size` bytes to this Image's size
  // (resampled with sampleWrapped when the sizes differ). `sourceName` names
  // the picture in the report of a bad file.
  Texture* textureFromTga(const uint8_t* tga, size_t size, const char* sourceName = "picture");
  // A RadialGradientOp of these values.
  Texture* radialTexture(Color first, Color second, float exponent);
  // A DistortOp bending a RadialGradientOp by a PlasmaOp. seed keeps its low
  // 16 bits, waves and the ranges their low 8 bits.
  Texture* plasmaTexture(Color positive, Color negative, int seed, int waves, int rangeX,
                         int rangeY, Color radialFirst, Color radialSecond, float radialExponent,
                         float strengthX, float strengthY, float frequency);

  const int width;
  const int height;
  // Holds the operators of the call in progress only: they are locals.
  OpNode root;
  std::vector<Color> pixels;     // the last evaluation, row-major
  std::vector<uint32_t> packed;  // pixels as bytes red, green, blue, alpha
  TextureMode textureMode = TextureMode::SphereMap;

 private:
  // Evaluates root into pixels (all zero if it yields nothing), packs them
  // and uploads a Texture; root is cleared afterwards.
  Texture* makeTexture();
};
