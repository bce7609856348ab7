// Picture generator: sets lines of text into Planes with FreeType, from the
// TrueType fonts of a font directory (DejaVu, from Debian's
// fonts-dejavu-core). Glyphs are rendered unhinted at fractional positions,
// so text scales smoothly and comes out the same on every run.
//
// Most pictures are drawn on stretched quads (a 512 x 512 logo spread over
// 640 x 192 pixels), so a style can squeeze glyphs horizontally: the text is
// drawn pre-distorted and looks right on the screen.
//
// Use: Typesetter ts(fontDir); TextStyle s{"DejaVuSans-Bold.ttf", 80};
// ts.draw(mask, "Kylvander", s, 256, 300, Align::Centre);
#pragma once

#include <functional>
#include <map>
#include <string>

#include "Plane.h"

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;

namespace picgen {

struct TextStyle {
  std::string font;       // file name inside the font directory
  float size = 32.0f;     // em size in pixels
  float squeeze = 1.0f;   // horizontal scale of the glyphs
  float tracking = 0.0f;  // extra space after each letter, in em
};

enum class Align { Left, Centre, Right };

class Typesetter {
 public:
  // Throws std::runtime_error naming the directory if FreeType cannot start.
  explicit Typesetter(std::string fontDirectory);
  ~Typesetter();
  Typesetter(const Typesetter&) = delete;
  Typesetter& operator=(const Typesetter&) = delete;

  // Ink extent of a line set at x = 0 on baseline 0 (y grows downwards, so
  // top is negative).
  struct Extent {
    float left = 0.0f;
    float right = 0.0f;
    float top = 0.0f;
    float bottom = 0.0f;
    float width() const { return right - left; }
    float height() const { return bottom - top; }
  };
  Extent measure(const std::string& utf8, const TextStyle& style);

  // Draws a line with its ink aligned at x (left edge, centre or right edge)
  // and its baseline at y; coverage is max-combined with what is there.
  void draw(Plane& target, const std::string& utf8, const TextStyle& style, float x, float y,
            Align align);

  // The size at which the line's ink is `width` pixels wide.
  float sizeForWidth(const std::string& utf8, TextStyle style, float width);

 private:
  FT_Face face(const std::string& font);
  // Renders every glyph of the line; the callback gets the coverage bitmap
  // (rows top-down), its size and its top-left corner in line coordinates.
  void layout(const std::string& utf8, const TextStyle& style, float originX, float originY,
              const std::function<void(const unsigned char*, int, int, int, int, int)>& glyph);

  std::string directory_;
  FT_Library library_ = nullptr;
  std::map<std::string, FT_Face> faces_;
};

}  // namespace picgen
