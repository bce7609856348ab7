// kylvander --dump-textures DIR: every texture the scenes build, written as
// "<scene index>-<member name>.tga" holding exactly the bytes uploaded to
// OpenGL, for people who make or check the show's look.
//
// The scenes are constructed as the show constructs them, on a hidden GL
// context, with a TextureRecorder keeping every upload; each scene names its
// textures (Scene::textures). While the scenes list no textures (the
// placeholders), the same generator calls and pictures are made here from
// the scenes' recipes instead.
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "gfx/HiddenGlContext.h"
#include "gfx/Image.h"
#include "gfx/Texture.h"
#include "gfx/TextureRecorder.h"
#include "gfx/TgaWriter.h"
#include "music/MusicSystem.h"
#include "scenes/Scene.h"
#include "scenes/SceneList.h"
#include "shell/DataDirectory.h"
#include "shell/Modes.h"

namespace {

struct NamedTexture {
  std::string name;
  const Texture* texture;
};
using SceneTextures = std::array<std::vector<NamedTexture>, kSceneCount>;

// The scenes' texture recipes, member by member in construction order, for
// as long as the scenes themselves do not build them.
class RecipeTextures {
 public:
  void build(SceneTextures* lists) {
    lists_ = lists;
    const Color white(1, 1, 1, 1);
    const Color minusWhite(-1, -1, -1, -1);
    const Color clear(0, 0, 0, 0);
    // The lit surfaces of scenes 0, 1, 2 and 7 differ only in the gradient.
    auto surface = [&](Image& image, Color radialSecond) {
      return image.plasmaTexture(white, minusWhite, 11, 4, 4, 1, clear, radialSecond, 1.0f, 0.1f,
                                 0.1f, 0.01f);
    };
    // The reflection shared by scenes 0, 1, 2 and 7.
    auto environment = [&](Image& image) {
      return image.plasmaTexture(white, Color(0.34f, 0.2f, 0.04f, 0.2f), 12, 1, 1, 1,
                                 Color(15, 22.5f, 22.5f, 30), clear, 150.0f, 0.1f, 0.1f, 0.05f);
    };
    {
      Image image(256, 256);
      image.textureMode = TextureMode::FromNormals;
      add(0, "armsTexture", surface(image, Color(0, 0.28f, 0.56f, 0.7f)));
      image.textureMode = TextureMode::SphereMap;
      add(0, "armsEnvTexture", environment(image));
      add(0, "glowTexture", image.radialTexture(Color(1, 1.5f, 2, 1), clear, 10.0f));
      Image pictures(512, 512);
      add(0, "background", pictures.loadTexture("../part01_bg.tga"));
      add(0, "overlay", pictures.loadTexture("../part01_overlay.tga"));
    }
    {
      Image image(256, 256);
      image.textureMode = TextureMode::FromNormals;
      add(1, "tunnelTexture", surface(image, Color(0, 0.72f, 1.44f, 1.8f)));
      image.textureMode = TextureMode::SphereMap;
      add(1, "tunnelEnvTexture", environment(image));
      Image pictures(512, 512);
      add(1, "portrait", pictures.loadTexture("../pulkar.tga"));
    }
    {
      Image image(256, 256);
      image.textureMode = TextureMode::FromNormals;
      add(2, "knotTexture", surface(image, Color(0.54f, 0.72f, 1.44f, 1.8f)));
      image.textureMode = TextureMode::SphereMap;
      add(2, "knotEnvTexture", environment(image));
      add(2, "swarmTexture", image.radialTexture(Color(5, 4.5f, 2, 1), clear, 5.0f));
      Image pictures(512, 512);
      add(2, "background", pictures.loadTexture("../bg02.tga"));
      add(2, "portrait", pictures.loadTexture("../dransel.tga"));
    }
    photoScene(3, "morrik");
    photoScene(4, "telva");
    {
      Image pictures(512, 512);
      add(5, "scroller", pictures.loadTexture("../scroller.tga"));
      add(5, "scrollOver", pictures.loadTexture("../scroll_over.tga"));
      Image image(256, 256);
      add(5, "sparkTexture", image.radialTexture(Color(1, 1, 1.5f, 1), clear, 2.0f));
    }
    {
      Image image(512, 512);
      image.textureMode = TextureMode::FromNormals;
      add(6, "columnTexture",
          image.plasmaTexture(white, white, 11, 4, 4, 1, Color(1.3f, 1.4f, 2, 1),
                              Color(0.21f, 0.49f, 0.56f, 0), 3.0f, 0.2f, 0.2f, 0.01f));
      image.textureMode = TextureMode::SphereMap;
      add(6, "columnEnvTexture",
          image.plasmaTexture(white, white, 13, 3, 4, 1, Color(1.4f, 1.2f, 1.7f, 1),
                              Color(0, 0.28f, 0.07f, 0), 3.0f, 0.2f, 0.2f, 0.01f));
      add(6, "flareTexture", image.radialTexture(Color(1.5f, 1.5f, 1, 1), clear, 5.0f));
      Image pictures(512, 512);
      add(6, "background", pictures.loadTexture("../part02_bg.tga"));
      add(6, "overlay", pictures.loadTexture("../part02_overlay.tga"));
    }
    {
      Image image(256, 256);
      image.textureMode = TextureMode::FromNormals;
      add(7, "knotTexture", surface(image, Color(1.08f, 1.44f, 2.16f, 1.8f)));
      image.textureMode = TextureMode::SphereMap;
      add(7, "knotEnvTexture", environment(image));
      add(7, "ribbonTexture",
          image.radialTexture(Color(0.6f, 0.6f, 0.72f, 0.6f), clear, 1.0f));
      Image pictures(512, 512);
      add(7, "background", pictures.loadTexture("../bg01.tga"));
      add(7, "logo", pictures.loadTexture("../logga2.tga"));
    }
  }

 private:
  void photoScene(int scene, const std::string& person) {
    Image pictures(512, 512);
    Image image(256, 256);
    for (int i = 0; i < 4; ++i) {
      const std::string path = "../" + person + "0" + std::to_string(i + 1) + ".tga";
      add(scene, "photos" + std::to_string(i), pictures.loadTexture(path.c_str()));
    }
    add(scene, "logo", pictures.loadTexture(("../logo_" + person + ".tga").c_str()));
    add(scene, "glowTexture",
        image.radialTexture(Color(0.55f, 0.5f, 0.5f, 0.5f), Color(-0.3f, -0.2f, -0.1f, 0), 7.0f));
  }

  void add(int scene, std::string name, Texture* texture) {
    owned_.emplace_back(texture);
    (*lists_)[size_t(scene)].push_back(NamedTexture{std::move(name), texture});
  }

  SceneTextures* lists_ = nullptr;
  std::vector<std::unique_ptr<Texture>> owned_;
};

bool writeUploads(const SceneTextures& lists, const std::vector<TextureRecorder::Upload>& uploads,
                  const std::filesystem::path& dir, int* written) {
  for (size_t scene = 0; scene < lists.size(); ++scene) {
    for (const NamedTexture& named : lists[scene]) {
      const TextureRecorder::Upload* upload = nullptr;
      for (const TextureRecorder::Upload& candidate : uploads)
        if (candidate.texture == named.texture) upload = &candidate;
      const std::string file = std::to_string(scene) + "-" + named.name + ".tga";
      if (!upload) {
        std::fprintf(stderr, "kylvander: no upload recorded for %s\n", file.c_str());
        return false;
      }
      std::string error;
      const std::string path = (dir / file).string();
      if (!writeTga(path.c_str(), upload->width, upload->height, upload->packed.data(), &error)) {
        std::fprintf(stderr, "kylvander: cannot write \"%s\": %s\n", path.c_str(), error.c_str());
        return false;
      }
      ++*written;
    }
  }
  return true;
}

}  // namespace

int runDumpTextures(const Options& options) {
  // The output folder is taken relative to where the user stood, before the
  // data folder becomes the working directory.
  std::error_code error;
  const std::filesystem::path dir = std::filesystem::absolute(options.output, error);
  if (!error) std::filesystem::create_directories(dir, error);
  if (error) {
    std::fprintf(stderr, "kylvander: cannot use the output folder \"%s\": %s\n",
                 options.output.c_str(), error.message().c_str());
    return 1;
  }
  if (!enterDataDirectory(options)) return 1;

  std::unique_ptr<HiddenGlContext> context;
  try {
    context = std::make_unique<HiddenGlContext>(640, 480);
  } catch (const platform::PlatformError& e) {
    std::fprintf(stderr, "kylvander: no OpenGL context for the texture export: %s\n", e.what());
    return 1;
  }

  TextureRecorder::start();
  SceneTextures lists;
  MusicSystem music;
  std::array<Scene*, kSceneCount> scenes = constructScenes(music);
  bool scenesBuildTextures = false;
  for (size_t i = 0; i < scenes.size(); ++i) {
    for (const Scene::NamedTexture& named : scenes[i]->textures()) {
      lists[i].push_back(NamedTexture{named.name, named.texture});
      scenesBuildTextures = true;
    }
  }
  RecipeTextures recipes;
  if (!scenesBuildTextures) recipes.build(&lists);
  const std::vector<TextureRecorder::Upload> uploads = TextureRecorder::take();
  TextureRecorder::stop();

  int written = 0;
  const bool ok = writeUploads(lists, uploads, dir, &written);
  for (Scene* scene : scenes) delete scene;
  if (!ok) return 1;
  std::printf("kylvander: wrote %d textures to %s\n", written, dir.string().c_str());
  return 0;
}
