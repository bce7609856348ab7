#include "scenes/SceneList.h"

#include "scenes/ArmsScene.h"
#include "scenes/ColumnScene.h"
#include "scenes/KnotScene.h"
#include "scenes/LogoScene.h"
#include "scenes/PhotoScene.h"
#include "scenes/ScrollerScene.h"
#include "scenes/TunnelScene.h"

std::array<Scene*, kSceneCount> constructScenes(MusicSystem& music) {
  // Index order: each constructor loads pictures and builds GL objects.
  return {new ArmsScene(music),
          new TunnelScene(music),
          new KnotScene(music),
          new PhotoScene(music,
                         {"../morrik01.tga", "../morrik02.tga", "../morrik03.tga",
                          "../morrik04.tga"},
                         "../logo_morrik.tga"),
          new PhotoScene(music,
                         {"../telva01.tga", "../telva02.tga", "../telva03.tga", "../telva04.tga"},
                         "../logo_telva.tga"),
          new ScrollerScene(music),
          new ColumnScene(music),
          new LogoScene(music)};
}
