// Where the show's 4/3 picture goes on a surface of any size.
//
// Overview: the scenes draw for a 4/3 picture. On a surface of another
// shape the picture takes the largest centred 4/3 box, whole pixels,
// truncated, and the rest of the surface is a black bar. The capture, the
// screenshot and a fitted live window all place the picture with
// fitPicture, so that one frame looks the same in each of them.
//
// Glossary: surface, the pixels drawn into (a window's drawable or an
// offscreen frame); box, the part of it that shows the picture, with OpenGL's
// origin at the bottom left.
#pragma once

struct PictureBox {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The picture's box on a width x height surface. Sizes below one (a
// minimised window) count as one, so the box is never empty.
PictureBox fitPicture(int width, int height);
