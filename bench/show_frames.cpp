// Every frame of the show as a capture draws it, reduced to one hash a frame:
// two builds that print the same list draw the same pictures, byte for byte,
// over the whole show. Also prints how long the drawing took.
//
//   bench_show_frames [--fps N] [--size WxH] [--to K] OUT.txt
//
// OUT.txt gets one line per frame: its number and the FNV-1a hash of its RGB
// bytes. --to stops after frame K. The show is read from the built data
// folder.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gfx/HiddenGlContext.h"
#include "platform/Stopwatch.h"
#include "shell/DataDirectory.h"
#include "shell/OfflineShow.h"
#include "shell/OffscreenTarget.h"
#include "shell/SongFile.h"

namespace {

uint64_t fnv1a(const std::vector<uint8_t>& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (uint8_t b : bytes) {
    hash ^= b;
    hash *= 1099511628211ull;
  }
  return hash;
}

int usage() {
  std::fprintf(stderr, "usage: bench_show_frames [--fps N] [--size WxH] [--to K] OUT.txt\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int fps = 60;
  int width = 640;
  int height = 480;
  long to = -1;
  std::string out;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--fps" && i + 1 < argc) {
      fps = std::atoi(argv[++i]);
    } else if (arg == "--size" && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2) return usage();
    } else if (arg == "--to" && i + 1 < argc) {
      to = std::atol(argv[++i]);
    } else if (out.empty() && arg.rfind("--", 0) != 0) {
      out = arg;
    } else {
      return usage();
    }
  }
  if (out.empty() || fps < 1) return usage();
  std::FILE* file = std::fopen(out.c_str(), "w");
  if (!file) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  enterDataDirectory(Options{});
  HiddenGlContext context(64, 48);
  OfflineShow show(readSongFile(kSongFileName), 0);
  OffscreenTarget target(width, height);
  uint32_t frames = show.frameCount(fps);
  if (to >= 0 && uint32_t(to) + 1 < frames) frames = uint32_t(to) + 1;
  std::vector<uint8_t> rgb;
  Stopwatch stopwatch;
  for (uint32_t k = 0; k < frames; ++k) {
    target.beginFrame();
    show.drawFrame(double(k) / fps);
    target.read(&rgb);
    std::fprintf(file, "%u %016llx\n", k, static_cast<unsigned long long>(fnv1a(rgb)));
  }
  const double seconds = stopwatch.seconds();
  std::fclose(file);
  std::printf("%u frames at %dx%d drawn and read back in %.1f s (%.1f fps)\n", frames, width,
              height, seconds, frames / seconds);
  return 0;
}
