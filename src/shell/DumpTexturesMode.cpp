// kylvander --dump-textures DIR: every texture the scenes build, written as
// "<scene index>-<member name>.tga" holding exactly the bytes uploaded to
// OpenGL, for people who make or check the show's look.
//
// The scenes are constructed as the show constructs them, on a hidden GL
// context, with a TextureRecorder keeping every upload; each scene names its
// textures (Scene::textures).
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "clock/VirtualClock.h"
#include "gfx/HiddenGlContext.h"
#include "gfx/Texture.h"
#include "gfx/TextureRecorder.h"
#include "gfx/TgaWriter.h"
#include "scenes/Scene.h"
#include "scenes/SceneList.h"
#include "shell/DataDirectory.h"
#include "shell/Modes.h"
#include "shell/ShellError.h"

namespace {

struct NamedTexture {
  std::string name;
  const Texture* texture;
};
using SceneTextures = std::array<std::vector<NamedTexture>, kSceneCount>;

// Throws ShellError.
void writeUploads(const SceneTextures& lists, const std::vector<TextureRecorder::Upload>& uploads,
                  const std::filesystem::path& dir, int* written) {
  for (size_t scene = 0; scene < lists.size(); ++scene) {
    for (const NamedTexture& named : lists[scene]) {
      const TextureRecorder::Upload* upload = nullptr;
      for (const TextureRecorder::Upload& candidate : uploads)
        if (candidate.texture == named.texture) upload = &candidate;
      const std::string file = std::to_string(scene) + "-" + named.name + ".tga";
      if (!upload) throw ShellError("no upload recorded for " + file);
      std::string error;
      const std::string path = (dir / file).string();
      if (!writeTga(path.c_str(), upload->width, upload->height, upload->packed.data(), &error))
        throw ShellError("cannot write \"" + path + "\": " + error);
      ++*written;
    }
  }
}

}  // namespace

int runDumpTextures(const Options& options) {
  return reportShellErrors([&] {
    // The output folder is taken relative to where the user stood, before
    // the data folder becomes the working directory.
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::absolute(options.output, error);
    if (!error) std::filesystem::create_directories(dir, error);
    if (error)
      throw ShellError("cannot use the output folder \"" + options.output +
                       "\": " + error.message());
    enterDataDirectory(options);

    std::unique_ptr<HiddenGlContext> context;
    try {
      context = std::make_unique<HiddenGlContext>(640, 480);
    } catch (const platform::PlatformError& e) {
      throw ShellError(std::string("no OpenGL context for the texture export: ") + e.what());
    }

    TextureRecorder::start();
    SceneTextures lists;
    VirtualClock clock;
    const SceneArray scenes = constructScenes(clock);
    for (size_t i = 0; i < scenes.size(); ++i)
      for (const Scene::NamedTexture& named : scenes[i]->textures())
        lists[i].push_back(NamedTexture{named.name, named.texture});
    const std::vector<TextureRecorder::Upload> uploads = TextureRecorder::take();
    TextureRecorder::stop();

    int written = 0;
    writeUploads(lists, uploads, dir, &written);
    std::printf("kylvander: wrote %d textures to %s\n", written, dir.string().c_str());
    return 0;
  });
}
