#include "Typesetter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

namespace picgen {
namespace {

// Code points of a UTF-8 string; a malformed byte stands for itself.
std::vector<uint32_t> decodeUtf8(const std::string& s) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (i + size_t(extra) >= s.size()) extra = 0;  // truncated sequence
    uint32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1Fu) : extra == 2 ? (c & 0x0Fu) : (c & 0x07u);
    for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + size_t(k)]) & 0x3Fu);
    out.push_back(cp);
    i += size_t(extra) + 1;
  }
  return out;
}

FT_F26Dot6 to26Dot6(float v) { return FT_F26Dot6(std::lround(double(v) * 64.0)); }

}  // namespace

Typesetter::Typesetter(std::string fontDirectory) : directory_(std::move(fontDirectory)) {
  if (FT_Init_FreeType(&library_) != 0) {
    library_ = nullptr;
    throw std::runtime_error("FreeType could not be initialised");
  }
}

Typesetter::~Typesetter() {
  for (auto& entry : faces_) FT_Done_Face(entry.second);
  if (library_) FT_Done_FreeType(library_);
}

FT_Face Typesetter::face(const std::string& font) {
  auto found = faces_.find(font);
  if (found != faces_.end()) return found->second;
  std::string path = directory_ + "/" + font;
  FT_Face f = nullptr;
  if (FT_New_Face(library_, path.c_str(), 0, &f) != 0)
    throw std::runtime_error("cannot load the font \"" + path +
                             "\" (Debian package fonts-dejavu-core)");
  faces_.emplace(font, f);
  return f;
}

void Typesetter::layout(
    const std::string& utf8, const TextStyle& style, float originX, float originY,
    const std::function<void(const unsigned char*, int, int, int, int, int)>& glyph) {
  FT_Face f = face(style.font);
  FT_Set_Char_Size(f, 0, to26Dot6(style.size), 72, 72);
  FT_Matrix matrix;
  matrix.xx = FT_Fixed(std::lround(double(style.squeeze) * 65536.0));
  matrix.xy = 0;
  matrix.yx = 0;
  matrix.yy = 0x10000;

  float penX = originX;
  float baseline = std::floor(originY);
  float fracY = originY - baseline;
  FT_UInt previous = 0;
  for (uint32_t cp : decodeUtf8(utf8)) {
    FT_UInt index = FT_Get_Char_Index(f, cp);
    if (previous && index && FT_HAS_KERNING(f)) {
      FT_Vector kern;
      if (FT_Get_Kerning(f, previous, index, FT_KERNING_UNFITTED, &kern) == 0)
        penX += float(kern.x) / 64.0f * style.squeeze;
    }
    float whole = std::floor(penX);
    FT_Vector delta;
    delta.x = to26Dot6(penX - whole);
    delta.y = -to26Dot6(fracY);  // FreeType's y grows upwards
    FT_Set_Transform(f, &matrix, &delta);
    if (FT_Load_Glyph(f, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP | FT_LOAD_RENDER) == 0) {
      FT_GlyphSlot slot = f->glyph;
      const FT_Bitmap& bm = slot->bitmap;
      if (bm.width > 0 && bm.rows > 0)
        glyph(bm.buffer, int(bm.width), int(bm.rows), bm.pitch, int(whole) + slot->bitmap_left,
              int(baseline) - slot->bitmap_top);
      penX += float(slot->advance.x) / 64.0f;
    }
    penX += style.tracking * style.size * style.squeeze;
    previous = index;
  }
  FT_Set_Transform(f, nullptr, nullptr);
}

Typesetter::Extent Typesetter::measure(const std::string& utf8, const TextStyle& style) {
  Extent e;
  bool any = false;
  layout(utf8, style, 0.0f, 0.0f,
         [&](const unsigned char* buffer, int w, int h, int pitch, int left, int top) {
           // Trim empty bitmap borders: the ink is what aligns.
           int x0 = w, x1 = -1, y0 = h, y1 = -1;
           for (int y = 0; y < h; ++y)
             for (int x = 0; x < w; ++x)
               if (buffer[y * pitch + x] > 8) {
                 x0 = std::min(x0, x);
                 x1 = std::max(x1, x);
                 y0 = std::min(y0, y);
                 y1 = std::max(y1, y);
               }
           if (x1 < 0) return;
           float l = float(left + x0), r = float(left + x1 + 1);
           float t = float(top + y0), b = float(top + y1 + 1);
           if (!any) {
             e.left = l, e.right = r, e.top = t, e.bottom = b;
             any = true;
           } else {
             e.left = std::min(e.left, l), e.right = std::max(e.right, r);
             e.top = std::min(e.top, t), e.bottom = std::max(e.bottom, b);
           }
         });
  return e;
}

void Typesetter::draw(Plane& target, const std::string& utf8, const TextStyle& style, float x,
                      float y, Align align) {
  Extent e = measure(utf8, style);
  float originX = x - e.left;
  if (align == Align::Centre) originX = x - (e.left + e.right) * 0.5f;
  if (align == Align::Right) originX = x - e.right;
  layout(utf8, style, originX, y,
         [&](const unsigned char* buffer, int w, int h, int pitch, int left, int top) {
           for (int row = 0; row < h; ++row) {
             int ty = top + row;
             if (ty < 0 || ty >= target.height()) continue;
             for (int col = 0; col < w; ++col) {
               int tx = left + col;
               if (tx < 0 || tx >= target.width()) continue;
               float v = float(buffer[row * pitch + col]) * (1.0f / 255.0f);
               float& d = target.at(tx, ty);
               d = std::max(d, v);
             }
           }
         });
}

float Typesetter::sizeForWidth(const std::string& utf8, TextStyle style, float width) {
  // Ink width is nearly proportional to size; two refinements settle it.
  for (int i = 0; i < 3; ++i) {
    float w = measure(utf8, style).width();
    if (w <= 0.0f) break;
    style.size *= width / w;
  }
  return style.size;
}

}  // namespace picgen
