// Keeps copies of the bytes every Texture uploads while it is recording, so
// that the texture export (kylvander --dump-textures) can write exactly what
// OpenGL received. Process-wide and main-thread only, like the GL context.
//
// Use: TextureRecorder::start(); build scenes or textures; take() returns
// the uploads in creation order and clears the list; stop() ends recording.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/TextureMode.h"

class Texture;

class TextureRecorder {
 public:
  struct Upload {
    const Texture* texture;  // may be gone by the time the list is read
    int width;
    int height;
    TextureMode mode;
    std::vector<uint32_t> packed;  // bytes red, green, blue, alpha per pixel
  };

  static void start();
  static void stop();
  static bool recording();
  // The uploads since start() or the last take(), oldest first.
  static std::vector<Upload> take();
  // Called by Texture for every upload.
  static void record(const Texture* texture, int width, int height, TextureMode mode,
                     const uint32_t* packed);
};
