// kyl_songc SOURCE OUTPUT: compiles a song source into a song file.
#include <cstdio>
#include <exception>
#include <fstream>

#include "songc/SongCompiler.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: kyl_songc SOURCE.song OUTPUT\n");
    return 2;
  }
  try {
    CompiledSong song = compileSong(SourceText::fromFile(argv[1]));
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(song.image.data()), std::streamsize(song.image.size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "kyl_songc: cannot write %s\n", argv[2]);
      std::remove(argv[2]);
      return 1;
    }
  } catch (const SourceError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kyl_songc: %s\n", error.what());
    return 1;
  }
  return 0;
}
