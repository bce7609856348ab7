// Writes song files: the inverse of loadSong. The song compiler and the tests
// build a set-up as objects, save it with Synth::save and append the song
// section written here.
#pragma once

#include <cstdint>
#include <vector>

#include "synth/Song.h"

class Synth;

// The format version written: two-byte lengths and row counts (0x0102, the
// older one, has one-byte ones).
constexpr uint16_t kSongFormatVersion = 0x0103;

// Appends the song section ("GOAT", version, header, order lists, patterns)
// to out. Every order list and every pattern that holds anything other than
// its defaults is written, each step and row with a presence mask of only its
// non-zero bytes or cells.
void writeSongSection(const Song& song, std::vector<uint8_t>& out);

// A whole song file image: the synthesizer set-up, then the song section.
std::vector<uint8_t> writeSongFile(Synth& synth, const Song& song);
