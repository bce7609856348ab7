// Writes packed pixels as the one TGA layout the toolkit reads back exactly:
// uncompressed true colour, 32 bits, bytes blue, green, red, alpha, first
// row first (bottom-up, as OpenGL stores textures).
#pragma once

#include <cstdint>
#include <string>

// `packed` holds width x height pixels as bytes red, green, blue, alpha.
// False, with the reason in *error, when the file cannot be written.
bool writeTga(const char* path, int width, int height, const uint32_t* packed,
              std::string* error);
