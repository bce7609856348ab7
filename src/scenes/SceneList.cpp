#include "scenes/SceneList.h"

#include "scenes/ArmsScene.h"
#include "scenes/ColumnScene.h"
#include "scenes/KnotScene.h"
#include "scenes/LogoScene.h"
#include "scenes/PhotoScene.h"
#include "scenes/ScrollerScene.h"
#include "scenes/TunnelScene.h"

namespace {

template <class Kind, class... Arguments>
std::unique_ptr<Scene> make(ShowClock& clock, Arguments... arguments) {
  return std::make_unique<Kind>(clock, arguments...);
}

using Photos = std::array<const char*, 4>;

}  // namespace

std::unique_ptr<Scene> makeArmsScene(ShowClock& clock) { return make<ArmsScene>(clock); }
std::unique_ptr<Scene> makeTunnelScene(ShowClock& clock) { return make<TunnelScene>(clock); }
std::unique_ptr<Scene> makeKnotScene(ShowClock& clock) { return make<KnotScene>(clock); }
std::unique_ptr<Scene> makeFirstPhotoScene(ShowClock& clock) {
  return make<PhotoScene>(clock, Photos{"../morrik01.tga", "../morrik02.tga", "../morrik03.tga",
                                        "../morrik04.tga"}, "../logo_morrik.tga");
}
std::unique_ptr<Scene> makeSecondPhotoScene(ShowClock& clock) {
  return make<PhotoScene>(clock, Photos{"../telva01.tga", "../telva02.tga", "../telva03.tga",
                                        "../telva04.tga"}, "../logo_telva.tga");
}
std::unique_ptr<Scene> makeScrollerScene(ShowClock& clock) { return make<ScrollerScene>(clock); }
std::unique_ptr<Scene> makeColumnScene(ShowClock& clock) { return make<ColumnScene>(clock); }
std::unique_ptr<Scene> makeLogoScene(ShowClock& clock) { return make<LogoScene>(clock); }

SceneArray constructScenes(ShowClock& clock) { return constructScenes(kShowScenes, clock); }

SceneArray constructScenes(SceneTable table, ShowClock& clock) {
  // Row order: each constructor loads pictures and builds GL objects.
  SceneArray scenes;
  for (const SceneEntry& row : table) scenes.push_back(row.make(clock));
  return scenes;
}

std::unique_ptr<Scene> makeScene(int index, ShowClock& clock) {
  if (index < 0 || index >= kSceneCount) return nullptr;
  return kShowScenes[index].make(clock);
}
