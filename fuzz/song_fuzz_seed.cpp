// Writes the demo song image to the file named on the command line.
#include <cstdio>

#include "DemoSong.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: song_fuzz_seed OUT\n");
    return 2;
  }
  const auto image = demoSongImage();
  FILE* out = std::fopen(argv[1], "wb");
  if (!out || std::fwrite(image.data(), 1, image.size(), out) != image.size()) {
    std::perror(argv[1]);
    return 1;
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
