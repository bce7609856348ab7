// Picture generator: the show's 21 pictures, by the file names the scenes
// read, with how each is blended on screen and the design that makes it.
//
// Use: for (const PictureRecipe& recipe : pictureCatalog())
//        TgaWriter::write(dir + "/" + recipe.file, makePictureFile(recipe, studio));
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "Picture.h"
#include "Studio.h"

namespace picgen {

// How a scene draws the picture, which decides what its alpha means.
enum class Blend {
  Opaque,    // drawn without blending: alpha is written as 255
  Additive,  // GL_ONE, GL_ONE: black adds nothing; alpha written as 255
  Alpha,     // GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA: alpha carries the shape
};

struct PictureRecipe {
  const char* file;
  Blend blend;
  const char* use;  // one line on where and how the show shows it
  std::function<Picture(Studio&)> make;
};

const std::vector<PictureRecipe>& pictureCatalog();
// Null if no picture has that file name.
const PictureRecipe* findPicture(const char* file);
// The finished TGA bytes of one picture.
std::vector<uint8_t> makePictureFile(const PictureRecipe& recipe, Studio& studio);

}  // namespace picgen
