// Tells the user what went wrong loading the song, in the boxes the show has
// always shown: the synthesizer reports, the music system and the shell show.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "synth/SongLoader.h"

// A set-up without its end marker: "FUCK" (caption "FUCK"); then a refused
// image: "Could not load song!" (caption "rARHR").
void showSongLoadMessages(const SongLoadResult& result);

// loadSong, then its messages: the song, or null.
std::unique_ptr<Song> loadSongShowingMessages(Synth& synth, const uint8_t* image, size_t size);
