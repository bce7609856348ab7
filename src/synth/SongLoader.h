// Reads a whole song file image: the synthesizer set-up into a Synth, then
// the song section into a new Song.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "synth/Song.h"

class Synth;

// Returns the song, or null after showing "Could not load song!" (caption
// "rARHR") when the image is damaged: it ends early, a count or index lies
// beyond the format's limits, a module type is unknown, the magic "GOAT" is
// missing, or tempo or step length is 0. A wrong set-up end marker also shows
// the "FUCK" box first. Nothing outside image[0 .. size) is read.
std::unique_ptr<Song> loadSong(Synth& synth, const uint8_t* image, size_t size);
