#include "ShowWindowState.h"

#include <cstddef>

#include "platform/Gl.h"

void enterShowWindowState(int width, int height) {
  glDisable(GL_SCISSOR_TEST);
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(90.0, 4.0 / 3.0, 0.1, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

std::vector<uint8_t> readBackFrame(int width, int height) {
  std::vector<uint8_t> pixels(std::size_t(width) * std::size_t(height) * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}
