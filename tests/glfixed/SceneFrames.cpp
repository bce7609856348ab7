// kyl_scene_frames DATA FPS OUT SECONDS...: the show's frames at those
// moments (as "kylvander --screenshot SECONDS --fps FPS" takes them), written
// as OUT-0.ppm, OUT-1.ppm, ... Built twice: drawing through OpenGL 1.1, and
// through the fixed-function layer on OpenGL ES 2 (kyl_scene_frames_gles).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/HiddenGlContext.h"
#include "platform/Window.h"
#include "shell/DataDirectory.h"
#include "shell/MomentFrames.h"
#include "shell/ShellError.h"

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s DATA FPS OUT SECONDS...\n", argv[0]);
    return 2;
  }
  platform::allowVideoWithoutDisplay();
  const std::string out = std::filesystem::absolute(argv[3]).string();
  Options options;
  options.dataDir = argv[1];
  std::vector<double> moments;
  for (int i = 4; i < argc; ++i) moments.push_back(std::atof(argv[i]));

  bool written = true;
  try {
    enterDataDirectory(options);
    HiddenGlContext context(64, 48);
    const auto write = [&](size_t index, const std::vector<uint8_t>& rgb) {
      const std::string path = out + "-" + std::to_string(index) + ".ppm";
      FILE* file = std::fopen(path.c_str(), "wb");
      if (!file) {
        written = false;
        return;
      }
      std::fprintf(file, "P6\n%d %d\n255\n", MomentFrames::kWidth, MomentFrames::kHeight);
      written = std::fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size() && written;
      written = std::fclose(file) == 0 && written;
    };
    MomentFrames frames(std::atoi(argv[2]), moments, write);
    while (frames.step(1000)) {
    }
  } catch (const ShellError& e) {
    std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
    return 1;
  }
  return written ? 0 : 1;
}
