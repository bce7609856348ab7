// Start-up cost of the pictures: the time to build every texture and mesh of
// the eight scenes (scene construction as the show does it, on a hidden GL
// context, pictures read from the built data folder), and the pieces it is
// made of.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "clock/VirtualClock.h"
#include "gfx/HiddenGlContext.h"
#include "gfx/Image.h"
#include "gfx/Mesh.h"
#include "gfx/Texture.h"
#include "gfx/TgaWriter.h"
#include "platform/Gl.h"
#include "scenes/Scene.h"
#include "scenes/SceneList.h"
#include "shell/DataDirectory.h"

namespace {

// One context for the whole program, made current before the first benchmark.
void ensureContext() {
  static std::unique_ptr<HiddenGlContext> context;
  if (!context) {
    context = std::make_unique<HiddenGlContext>(640, 480);
    enterDataDirectory(Options{});
  }
}

void BM_ConstructAllScenes(benchmark::State& state) {
  ensureContext();
  VirtualClock clock;
  size_t textures = 0;
  for (auto _ : state) {
    SceneArray scenes = constructScenes(clock);
    glFinish();
    state.PauseTiming();
    textures = 0;
    for (const auto& scene : scenes) textures += scene->textures().size();
    scenes = SceneArray();
    state.ResumeTiming();
  }
  state.counters["textures"] = double(textures);
  if (textures == 0) state.SkipWithError("the scenes build no textures yet (placeholders)");
}
// Process CPU time counts the GL driver's threads too; wall time depends on
// what else the machine runs.
BENCHMARK(BM_ConstructAllScenes)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_PlasmaTexture(benchmark::State& state) {
  ensureContext();
  const int size = int(state.range(0));
  Image image(size, size);
  image.textureMode = TextureMode::FromNormals;
  for (auto _ : state) {
    std::unique_ptr<Texture> texture(image.plasmaTexture(
        Color(1, 1, 1, 1), Color(-1, -1, -1, -1), 11, 4, 4, 1, Color(0, 0, 0, 0),
        Color(0, 0.28f, 0.56f, 0.7f), 1.0f, 0.1f, 0.1f, 0.01f));
    glFinish();
  }
}
BENCHMARK(BM_PlasmaTexture)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond);

void BM_RadialTexture(benchmark::State& state) {
  ensureContext();
  Image image(256, 256);
  for (auto _ : state) {
    std::unique_ptr<Texture> texture(
        image.radialTexture(Color(1, 1.5f, 2, 1), Color(0, 0, 0, 0), 10.0f));
    glFinish();
  }
}
BENCHMARK(BM_RadialTexture)->Unit(benchmark::kMillisecond);

// A 512 x 512 picture file of the pictures' size, loaded at full size (no
// resampling) and at half size.
void BM_PictureTexture(benchmark::State& state) {
  ensureContext();
  static const std::string path = [] {
    const std::string p = "/tmp/kyl_bench_picture.tga";
    std::vector<uint32_t> texels(512 * 512);
    for (size_t i = 0; i < texels.size(); ++i) texels[i] = uint32_t(i * 2654435761u);
    std::string error;
    writeTga(p.c_str(), 512, 512, texels.data(), &error);
    return p;
  }();
  const int size = int(state.range(0));
  Image image(size, size);
  for (auto _ : state) {
    std::unique_ptr<Texture> texture(image.loadTexture(path.c_str()));
    glFinish();
  }
}
BENCHMARK(BM_PictureTexture)->Arg(512)->Arg(256)->Unit(benchmark::kMillisecond);

// An animated mesh compiled at once, as scenes 0, 1, 2 and 7 build theirs.
void BM_CompiledMesh(benchmark::State& state) {
  ensureContext();
  for (auto _ : state) {
    Mesh mesh(int(state.range(0)), int(state.range(1)), true, nullptr);
    mesh.compile();
    glFinish();
  }
}
BENCHMARK(BM_CompiledMesh)->Args({100, 20})->Args({200, 50})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
