#include "TgaWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace picgen {
namespace {

uint8_t toByte(float v) {
  // Round to nearest: the loader reads b/255 back exactly.
  return uint8_t(clamp01(v) * 255.0f + 0.5f);
}

// Colour to give a transparent pixel: the alpha-weighted average colour of
// its neighbourhood, so filtering across a shape's edge keeps its hue.
Picture edgeFill(const Picture& picture) {
  int w = picture.width();
  int h = picture.height();
  Plane r(w, h), g(w, h), b(w, h), a(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const Rgba& p = picture.at(x, y);
      r.at(x, y) = p.r;
      g.at(x, y) = p.g;
      b.at(x, y) = p.b;
      a.at(x, y) = p.a;
    }
  const float radius = 6.0f;
  r = r.blurred(radius);
  g = g.blurred(radius);
  b = b.blurred(radius);
  a = a.blurred(radius);
  Picture fill(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float k = a.at(x, y);
      fill.at(x, y) = k > 1e-4f ? Rgba(r.at(x, y) / k, g.at(x, y) / k, b.at(x, y) / k, 1.0f)
                                : Rgba(0, 0, 0, 1.0f);
    }
  return fill;
}

}  // namespace

std::vector<uint8_t> TgaWriter::encode(const Picture& picture) {
  int w = picture.width();
  int h = picture.height();
  std::vector<uint8_t> out(size_t(kHeaderSize) + size_t(w) * size_t(h) * 4u, 0);
  out[2] = 2;  // uncompressed true colour
  out[12] = uint8_t(w & 0xFF);
  out[13] = uint8_t(w >> 8);
  out[14] = uint8_t(h & 0xFF);
  out[15] = uint8_t(h >> 8);
  out[16] = 32;    // bits per pixel
  out[17] = 0x08;  // 8 alpha bits, origin bottom left

  bool needsFill = false;
  for (int y = 0; y < h && !needsFill; ++y)
    for (int x = 0; x < w; ++x)
      if (picture.at(x, y).a < 0.999f) {
        needsFill = true;
        break;
      }
  Picture fill = needsFill ? edgeFill(picture) : Picture(1, 1);

  uint8_t* p = out.data() + kHeaderSize;
  for (int row = h - 1; row >= 0; --row) {  // bottom row first
    for (int x = 0; x < w; ++x) {
      const Rgba& c = picture.at(x, row);
      float ra, ga, ba;
      if (c.a >= 1.0f / 255.0f) {
        ra = c.r / c.a;
        ga = c.g / c.a;
        ba = c.b / c.a;
      } else if (needsFill) {
        const Rgba& f = fill.at(x, row);
        ra = f.r;
        ga = f.g;
        ba = f.b;
      } else {
        ra = ga = ba = 0.0f;
      }
      *p++ = toByte(ba);
      *p++ = toByte(ga);
      *p++ = toByte(ra);
      *p++ = toByte(c.a);
    }
  }
  return out;
}

bool TgaWriter::write(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "kyl_picgen: cannot create \"%s\": %s\n", path.c_str(),
                 std::strerror(errno));
    return false;
  }
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) std::fprintf(stderr, "kyl_picgen: could not write all of \"%s\"\n", path.c_str());
  return ok;
}

}  // namespace picgen
