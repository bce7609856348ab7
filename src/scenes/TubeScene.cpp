#include "scenes/TubeScene.h"

#include "gfx/Image.h"
#include "scenes/PlasmaDescription.h"

namespace {

// The one chrome environment map, in the Image's current textureMode.
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

}  // namespace

TubeScene::TubeScene(ShowClock& clock, const Tube& shape, const Glow& glow,
                     const Pictures& paths)
    : Scene(clock) {
  world.setCamera(&camera);

  // Textures in the order the show has always made them: the generators
  // draw from the main thread's sequence.
  Image surfaces(256, 256);
  PlasmaDescription surface;
  surface.radialSecond = shape.tint;
  surfaces.textureMode = TextureMode::FromNormals;
  Texture* const surfaceTexture = keep(shape.surfaceName, makePlasmaTexture(surfaces, surface));
  surfaces.textureMode = TextureMode::SphereMap;
  Texture* const environment = keep(shape.environmentName, makeChromeEnvironment(surfaces));
  Texture* glowTexture = nullptr;
  if (glow.count > 0)
    glowTexture =
        keep(glow.name, surfaces.radialTexture(glow.colour, Color(0, 0, 0, 0), glow.exponent));

  Image pictures(512, 512);
  if (paths.backgroundPath)
    background = keep("background", pictures.loadTexture(paths.backgroundPath));
  picture = keep(paths.overlayName, pictures.loadTexture(paths.overlayPath));

  tube = std::make_unique<Mesh>(shape.rows, shape.cols, true, shape.shape);
  tube->setTexture(surfaceTexture);
  tube->setSecondTexture(environment);
  tube->pass = uint8_t(shape.pass);
  tube->compile();

  if (glowTexture) {
    particles = std::make_unique<ParticleSystem>(glow.count);
    particles->setTexture(glowTexture);
    particles->pass = 1;
  }
}

void TubeScene::placeAtOrigin() {
  world.add(tube.get(), Vec3(0, 0, 0), 0.0f, Vec3(1, 0, 0));
  if (particles) world.add(particles.get(), Vec3(0, 0, 0), 0.0f, Vec3(1, 0, 0));
}
