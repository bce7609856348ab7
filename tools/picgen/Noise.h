// Picture generator: seeded gradient noise. Values come from an integer hash
// of the lattice point and the seed, never from a global generator, so every
// picture is the same on every run whatever order pictures are made in.
// A period (in lattice cells) makes the noise tile, for textures that the
// show repeats or scrolls.
#pragma once

#include <cstdint>

namespace picgen {

// A well-mixed 32-bit hash (for noise lattices and scattering stars).
uint32_t hash32(uint32_t x);
uint32_t hash32(uint32_t x, uint32_t y, uint32_t seed);
// Uniform in [0, 1).
float hashUnit(uint32_t x, uint32_t y, uint32_t seed);

class Noise {
 public:
  explicit Noise(uint32_t seed) : seed_(seed) {}

  // Gradient noise in about [-1, 1]; periods of 0 mean no tiling.
  float gradient(float x, float y, int periodX = 0, int periodY = 0) const;
  // Fractal sum of `octaves` gradient noises, each twice the frequency and
  // half the amplitude of the last; normalised to about [-1, 1]. Periods
  // double with the frequency, so a tiling fbm stays tiling.
  float fbm(float x, float y, int octaves, int periodX = 0, int periodY = 0) const;
  // 1 - |noise| summed the same way: sharp bright ridges (clouds, veins).
  float ridged(float x, float y, int octaves, int periodX = 0, int periodY = 0) const;

 private:
  uint32_t seed_;
};

}  // namespace picgen
