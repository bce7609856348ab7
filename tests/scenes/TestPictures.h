// The pictures the scenes read, written for a test: the show reads
// "../name.tga" from its working directory, so the pictures go in a fresh
// folder and a folder inside it becomes the working directory.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// RGBA of pixel (x, y) of the named picture, red in the low byte.
using PicturePainter = std::function<uint32_t(const std::string& name, int x, int y)>;

uint32_t rgba(int red, int green, int blue, int alpha);

// Writes every picture of the show (512 x 512) into a folder named for the
// tag and this process, and enters its "show" folder. False, with the reason
// in `error`, when a picture cannot be written.
bool enterTestShowFolder(const std::string& tag, const PicturePainter& paint, std::string* error);
