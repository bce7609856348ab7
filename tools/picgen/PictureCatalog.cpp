#include "PictureCatalog.h"

#include <cstring>

#include "Designs.h"
#include "TgaWriter.h"

namespace picgen {

const std::vector<PictureRecipe>& pictureCatalog() {
  static const std::vector<PictureRecipe> catalog = {
      {"part01_bg.tga", Blend::Opaque, "scene 0: background, full screen, slow zoom",
       openingBackground},
      {"part01_overlay.tga", Blend::Alpha, "scene 0: title plate over the lower left quarter",
       openingOverlay},
      {"pulkar.tga", Blend::Alpha, "scene 1: portrait wobbling mid-screen, grey and alpha pulse",
       tunnelPortrait},
      {"bg02.tga", Blend::Opaque, "scene 2: background, full screen, halved on beats",
       knotBackground},
      {"dransel.tga", Blend::Alpha, "scene 2: portrait over the lower left", knotPortrait},
      {"morrik01.tga", Blend::Additive, "scene 3: photo 1 of 4, blinking",
       [](Studio& s) { return photo(s, 0, 0); }},
      {"morrik02.tga", Blend::Additive, "scene 3: photo 2 of 4, blinking",
       [](Studio& s) { return photo(s, 0, 1); }},
      {"morrik03.tga", Blend::Additive, "scene 3: photo 3 of 4, blinking",
       [](Studio& s) { return photo(s, 0, 2); }},
      {"morrik04.tga", Blend::Additive, "scene 3: photo 4 of 4, blinking",
       [](Studio& s) { return photo(s, 0, 3); }},
      {"logo_morrik.tga", Blend::Alpha, "scene 3: name logo behind everything, jittering",
       [](Studio& s) { return nameLogo(s, 0); }},
      {"telva01.tga", Blend::Additive, "scene 4: photo 1 of 4, blinking",
       [](Studio& s) { return photo(s, 1, 0); }},
      {"telva02.tga", Blend::Additive, "scene 4: photo 2 of 4, blinking",
       [](Studio& s) { return photo(s, 1, 1); }},
      {"telva03.tga", Blend::Additive, "scene 4: photo 3 of 4, blinking",
       [](Studio& s) { return photo(s, 1, 2); }},
      {"telva04.tga", Blend::Additive, "scene 4: photo 4 of 4, blinking",
       [](Studio& s) { return photo(s, 1, 3); }},
      {"logo_telva.tga", Blend::Alpha, "scene 4: name logo behind everything, jittering",
       [](Studio& s) { return nameLogo(s, 1); }},
      {"scroller.tga", Blend::Opaque, "scene 5: wide text picture, half its width on screen",
       scroller},
      {"scroll_over.tga", Blend::Additive, "scene 5: shimmer added over the scroller",
       scrollOver},
      {"part02_bg.tga", Blend::Opaque, "scene 6: background at 60 % grey", closingBackground},
      {"part02_overlay.tga", Blend::Alpha, "scene 6: frame over everything, mirrored",
       closingOverlay},
      {"bg01.tga", Blend::Opaque, "scene 7: background at 40 % grey", flightBackground},
      {"logga2.tga", Blend::Alpha, "scene 7: the show's name along the bottom, flashes white",
       flightLogo},
  };
  return catalog;
}

const PictureRecipe* findPicture(const char* file) {
  for (const PictureRecipe& recipe : pictureCatalog())
    if (std::strcmp(recipe.file, file) == 0) return &recipe;
  return nullptr;
}

std::vector<uint8_t> makePictureFile(const PictureRecipe& recipe, Studio& studio) {
  Picture picture = recipe.make(studio);
  if (recipe.blend != Blend::Alpha) picture.makeOpaque();
  return TgaWriter::encode(picture);
}

}  // namespace picgen
