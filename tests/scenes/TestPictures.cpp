#include "TestPictures.h"

#include <unistd.h>

#include <filesystem>
#include <vector>

#include "gfx/TgaWriter.h"

namespace fs = std::filesystem;

namespace {
const char* const kPictureNames[] = {
    "part01_bg",      "part01_overlay", "pulkar",     "bg02",        "dransel",     "morrik01",
    "morrik02",       "morrik03",       "morrik04",   "logo_morrik", "telva01",     "telva02",
    "telva03",        "telva04",        "logo_telva", "scroller",    "scroll_over", "part02_bg",
    "part02_overlay", "bg01",           "logga2"};
constexpr int kSize = 512;
}  // namespace

uint32_t rgba(int red, int green, int blue, int alpha) {
  return uint32_t(red) | uint32_t(green) << 8 | uint32_t(blue) << 16 | uint32_t(alpha) << 24;
}

bool enterTestShowFolder(const std::string& tag, const PicturePainter& paint, std::string* error) {
  // One folder per process: ctest runs several test processes at once.
  const fs::path root = fs::temp_directory_path() / (tag + "-" + std::to_string(::getpid()));
  fs::create_directories(root / "show");
  std::vector<uint32_t> pixels(size_t(kSize) * kSize);
  for (const char* name : kPictureNames) {
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) pixels[size_t(y) * kSize + size_t(x)] = paint(name, x, y);
    const fs::path path = root / (std::string(name) + ".tga");
    if (!writeTga(path.string().c_str(), kSize, kSize, pixels.data(), error)) {
      *error = path.string() + ": " + *error;
      return false;
    }
  }
  fs::current_path(root / "show");
  return true;
}
