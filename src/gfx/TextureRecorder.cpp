#include "gfx/TextureRecorder.h"

#include <cstddef>
#include <utility>

namespace {
bool active = false;
std::vector<TextureRecorder::Upload> uploads;
}  // namespace

void TextureRecorder::start() { active = true; }

void TextureRecorder::stop() { active = false; }

bool TextureRecorder::recording() { return active; }

std::vector<TextureRecorder::Upload> TextureRecorder::take() {
  std::vector<Upload> taken;
  taken.swap(uploads);
  return taken;
}

void TextureRecorder::record(const Texture* texture, int width, int height, TextureMode mode,
                             const uint32_t* packed) {
  const size_t count = size_t(width) * size_t(height);
  uploads.push_back(Upload{texture, width, height, mode,
                           std::vector<uint32_t>(packed, packed + count)});
}
