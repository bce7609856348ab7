#include "scenes/SceneList.h"

#include "scenes/ArmsScene.h"
#include "scenes/ColumnScene.h"
#include "scenes/KnotScene.h"
#include "scenes/LogoScene.h"
#include "scenes/PhotoScene.h"
#include "scenes/ScrollerScene.h"
#include "scenes/TunnelScene.h"

std::unique_ptr<Scene> makeScene(int index, ShowClock& clock) {
  switch (index) {
    case 0:
      return std::make_unique<ArmsScene>(clock);
    case 1:
      return std::make_unique<TunnelScene>(clock);
    case 2:
      return std::make_unique<KnotScene>(clock);
    case 3:
      return std::make_unique<PhotoScene>(
          clock,
          std::array<const char*, 4>{"../morrik01.tga", "../morrik02.tga", "../morrik03.tga",
                                     "../morrik04.tga"},
          "../logo_morrik.tga");
    case 4:
      return std::make_unique<PhotoScene>(
          clock,
          std::array<const char*, 4>{"../telva01.tga", "../telva02.tga", "../telva03.tga",
                                     "../telva04.tga"},
          "../logo_telva.tga");
    case 5:
      return std::make_unique<ScrollerScene>(clock);
    case 6:
      return std::make_unique<ColumnScene>(clock);
    case 7:
      return std::make_unique<LogoScene>(clock);
    default:
      return nullptr;
  }
}

SceneArray constructScenes(ShowClock& clock) {
  // Index order: each constructor loads pictures and builds GL objects.
  SceneArray scenes;
  for (int i = 0; i < kSceneCount; ++i) scenes[size_t(i)] = makeScene(i, clock);
  return scenes;
}
