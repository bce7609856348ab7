#include "gfx/TgaSourceOp.h"

#include <cstdio>

#include "gfx/OpRecord.h"
#include "gfx/SampleWrapped.h"

namespace {
constexpr float kByteScale = 0.003921568859368563f;  // 1/255

int readLittle16(const uint8_t* p) { return int(p[0]) | (int(p[1]) << 8); }

ColorBuffer transparentBlack(int width, int height) {
  return ColorBuffer(new Color[size_t(width) * size_t(height)]());
}
}  // namespace

TgaSourceOp::TgaSourceOp(const uint8_t* data, size_t size, const char* sourceName)
    : GeneratorOp(5), data_(data), size_(size), sourceName_(sourceName ? sourceName : "picture") {}

const char* TgaSourceOp::problem() const {
  if (!data_ || size_ < size_t(kHeaderSize)) return "shorter than a TGA header";
  const int w = readLittle16(data_ + 12);
  const int h = readLittle16(data_ + 14);
  if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) return "impossible picture size in header";
  if (size_ < size_t(kHeaderSize) + size_t(4) * size_t(w) * size_t(h))
    return "shorter than its header promises";
  return nullptr;
}

ColorBuffer TgaSourceOp::generate(ColorBuffer, ColorBuffer, int width, int height) {
  if (const char* why = problem()) {
    std::fprintf(stderr, "kylvander: picture \"%s\": %s; drawn transparent black\n", sourceName_,
                 why);
    return transparentBlack(width, height);
  }
  fileWidth_ = readLittle16(data_ + 12);
  fileHeight_ = readLittle16(data_ + 14);
  const size_t count = size_t(fileWidth_) * size_t(fileHeight_);
  ColorBuffer decoded(new Color[count]);
  const uint8_t* p = data_ + kHeaderSize;
  for (size_t i = 0; i < count; ++i, p += 4) {
    decoded[i].blue = float(p[0]) * kByteScale;
    decoded[i].green = float(p[1]) * kByteScale;
    decoded[i].red = float(p[2]) * kByteScale;
    decoded[i].alpha = float(p[3]) * kByteScale;
  }
  if (fileWidth_ == width && fileHeight_ == height) return decoded;

  ColorBuffer result(new Color[size_t(width) * size_t(height)]);
  for (int r = 0; r < height; ++r) {
    const float y = float(double(fileHeight_) * double(r) / double(height));
    for (int c = 0; c < width; ++c) {
      const float x = float(double(fileWidth_) * double(c) / double(width));
      result[size_t(r) * size_t(width) + size_t(c)] =
          sampleWrapped(decoded.get(), fileWidth_, fileHeight_, x, y);
    }
  }
  return result;
}

void TgaSourceOp::save(std::FILE* file) { opRecord::writeByte(file, recordHeader()); }

void TgaSourceOp::load(std::FILE*) {}
