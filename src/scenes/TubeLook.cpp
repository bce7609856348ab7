#include "scenes/TubeLook.h"

#include "gfx/Image.h"
#include "gfx/Mesh.h"
#include "scenes/PlasmaDescription.h"

TubeLook makeTubeLook(Image& surfaces, const Color& tint) {
  PlasmaDescription surface;
  surface.radialSecond = tint;
  surfaces.textureMode = TextureMode::FromNormals;
  TubeLook look;
  look.surface = makePlasmaTexture(surfaces, surface);
  surfaces.textureMode = TextureMode::SphereMap;
  look.environment = makeChromeEnvironment(surfaces);
  return look;
}

Texture* makeChromeEnvironment(Image& image) {
  PlasmaDescription chrome;
  chrome.negative = Color(0.34f, 0.2f, 0.04f, 0.2f);
  chrome.seed = 12;
  chrome.waves = 1;
  chrome.rangeX = 1;
  chrome.radialFirst = Color(15, 22.5f, 22.5f, 30);
  chrome.radialExponent = 150.0f;
  chrome.frequency = 0.05f;
  return makePlasmaTexture(image, chrome);
}

std::unique_ptr<Mesh> makeTube(int rows, int cols, VertexFunction shape, const TubeLook& look,
                               int pass) {
  auto tube = std::make_unique<Mesh>(rows, cols, true, shape);
  tube->setTexture(look.surface);
  tube->setSecondTexture(look.environment);
  tube->pass = uint8_t(pass);
  tube->compile();
  return tube;
}
