#include "GeneratedPictures.h"

#include <fstream>
#include <utility>

#include "PictureCatalog.h"

namespace content_test {
namespace {

#ifdef KYL_PICTURE_DIR
// The files the build made with kyl_picgen (a separate process).
bool readBuiltPictures(std::map<std::string, TgaBytes>& files) {
  for (const picgen::PictureRecipe& recipe : picgen::pictureCatalog()) {
    std::ifstream in(std::string(KYL_PICTURE_DIR) + "/" + recipe.file, std::ios::binary | std::ios::ate);
    if (!in) return false;
    TgaBytes bytes(size_t(in.tellg()));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()))) return false;
    files[recipe.file] = std::move(bytes);
  }
  return true;
}
#endif

}  // namespace

std::map<std::string, TgaBytes> generateAllPictures() {
  picgen::Studio studio(KYL_PICGEN_FONT_DIR);
  std::map<std::string, TgaBytes> files;
  for (const picgen::PictureRecipe& recipe : picgen::pictureCatalog())
    files[recipe.file] = picgen::makePictureFile(recipe, studio);
  return files;
}

const std::map<std::string, TgaBytes>& generatedPictures() {
  static const std::map<std::string, TgaBytes> files = [] {
    std::map<std::string, TgaBytes> built;
#ifdef KYL_PICTURE_DIR
    if (readBuiltPictures(built)) return built;
#endif
    return generateAllPictures();
  }();
  return files;
}

}  // namespace content_test
