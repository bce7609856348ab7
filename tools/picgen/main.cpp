// kyl_picgen: writes the show's pictures.
//
//   kyl_picgen OUTDIR [--fonts DIR] [--only FILE]... [--list]
//
// OUTDIR is the folder the show reads pictures from (the parent of its
// working directory). Every run writes the same bytes.
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "PictureCatalog.h"
#include "TgaWriter.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: kyl_picgen OUTDIR [--fonts DIR] [--only FILE]... [--list]\n"
               "Writes the show's %zu TGA pictures into OUTDIR.\n",
               picgen::pictureCatalog().size());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string outDir;
  std::string fonts = KYL_PICGEN_FONT_DIR;
  std::vector<const picgen::PictureRecipe*> only;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--list") == 0) {
      for (const picgen::PictureRecipe& recipe : picgen::pictureCatalog())
        std::printf("%-20s %s\n", recipe.file, recipe.use);
      return 0;
    } else if (std::strcmp(arg, "--fonts") == 0 && i + 1 < argc) {
      fonts = argv[++i];
    } else if (std::strcmp(arg, "--only") == 0 && i + 1 < argc) {
      const picgen::PictureRecipe* recipe = picgen::findPicture(argv[++i]);
      if (!recipe) {
        std::fprintf(stderr, "kyl_picgen: no picture is called \"%s\" (see --list)\n", argv[i]);
        return 2;
      }
      only.push_back(recipe);
    } else if (arg[0] == '-' || !outDir.empty()) {
      return usage();
    } else {
      outDir = arg;
    }
  }
  if (outDir.empty()) return usage();
  if (only.empty())
    for (const picgen::PictureRecipe& recipe : picgen::pictureCatalog()) only.push_back(&recipe);

  std::error_code error;
  std::filesystem::create_directories(outDir, error);
  if (error) {
    std::fprintf(stderr, "kyl_picgen: cannot create the folder \"%s\": %s\n", outDir.c_str(),
                 error.message().c_str());
    return 1;
  }
  try {
    picgen::Studio studio(fonts);
    for (const picgen::PictureRecipe* recipe : only) {
      std::vector<uint8_t> bytes = picgen::makePictureFile(*recipe, studio);
      if (!picgen::TgaWriter::write(outDir + "/" + recipe->file, bytes)) return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kyl_picgen: %s\n", e.what());
    return 1;
  }
  std::printf("kyl_picgen: wrote %zu pictures to %s\n", only.size(), outDir.c_str());
  return 0;
}
