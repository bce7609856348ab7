// Where the program finds its data: the song and the pictures are read by
// relative names ("brumtakt", "../bg01.tga"), so every mode first makes the
// data folder the working directory: --data DIR, or the folder the build
// put the content in.
#pragma once

#include <string>

#include "shell/Options.h"

// The folder a mode works in: options.dataDir, or the built default.
std::string dataDirectoryFor(const Options& options);

// Makes that folder the working directory, before anything is read. On
// failure writes the folder and the reason to standard error and returns
// false; the mode then ends with exit code 1.
bool enterDataDirectory(const Options& options);
