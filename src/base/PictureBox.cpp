#include "base/PictureBox.h"

PictureBox fitPicture(int width, int height) {
  if (width < 1) width = 1;
  if (height < 1) height = 1;
  PictureBox box;
  box.width = width;
  box.height = int(static_cast<long long>(width) * 3 / 4);
  if (box.height > height) {
    box.height = height;
    box.width = int(static_cast<long long>(height) * 4 / 3);
  }
  // Narrower than 4 or lower than 3 pixels the formula gives nothing.
  if (box.width < 1) box.width = 1;
  if (box.height < 1) box.height = 1;
  box.x = (width - box.width) / 2;
  box.y = (height - box.height) / 2;
  return box;
}
