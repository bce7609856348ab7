// What each fuzz target does with one input. The libFuzzer programs and the
// replay test share these, so the stored inputs run through the very same
// code in every build, with or without clang.
#pragma once

#include <cstddef>
#include <cstdint>

// A song file image through the loader; when it loads and `play` is set, a
// few sequencer ticks are rendered with every module the set-up holds.
// Returns whether the image loaded.
bool runSongImage(const uint8_t* data, size_t size, bool play);

// A picture file through the TGA decoder, at the file's own size when its
// header is sound and at an odd size that resamples it. Returns whether the
// decoder accepted the bytes.
bool runTgaFile(const uint8_t* data, size_t size);

// Text through the song compiler. What it accepts must load back through the
// song loader; what it refuses it refuses with a SourceError. Any other
// outcome aborts. Returns whether the text compiled.
bool runSongSource(const uint8_t* data, size_t size);

// Bytes as a MIDI file through the song compiler's reader and importer. What
// it accepts must compile into a song that loads; what it refuses it refuses
// with a MidiError. Returns whether the bytes imported.
bool runMidiFile(const uint8_t* data, size_t size);
