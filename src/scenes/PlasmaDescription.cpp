#include "scenes/PlasmaDescription.h"

#include "gfx/Image.h"

namespace {

bool isZero(const Color& c) {
  return c.red == 0.0f && c.green == 0.0f && c.blue == 0.0f && c.alpha == 0.0f;
}

Color orDefault(const Color& value, const Color& fallback) {
  return isZero(value) ? fallback : value;
}

template <typename T>
T orDefault(T value, T fallback) {
  return value == T(0) ? fallback : value;
}

}  // namespace

Texture* makePlasmaTexture(Image& image, const PlasmaDescription& d) {
  return image.plasmaTexture(
      orDefault(d.positive, Color(1, 1, 1, 1)), orDefault(d.negative, Color(-1, -1, -1, -1)),
      orDefault(d.seed, 11), orDefault(d.waves, 4), orDefault(d.rangeX, 4), orDefault(d.rangeY, 1),
      d.radialFirst, d.radialSecond, orDefault(d.radialExponent, 1.0f),
      orDefault(d.strengthX, 0.1f), orDefault(d.strengthY, 0.1f), orDefault(d.frequency, 0.01f));
}
