// Where the program finds its data: the song and the pictures are read by
// relative names ("brumtakt", "../bg01.tga"), so every mode first makes the
// data folder the working directory: --data DIR, or the default folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "shell/Options.h"

// The folders looked in when no --data is given, in order: the installed
// data beside the program (share/kylvander/show next to its bin folder),
// then the folder the build put the content in. `programDir` is the folder
// the running program is in; empty when unknown.
std::vector<std::string> defaultDataCandidates(const std::filesystem::path& programDir);

// The first of `candidates` that is a folder; empty if none is.
std::string firstExistingFolder(const std::vector<std::string>& candidates);

// The folder a mode works in: options.dataDir, or the first default
// candidate that exists (the build's folder if none does, so that a message
// names it).
std::string dataDirectoryFor(const Options& options);

// Makes that folder the working directory, before anything is read. Throws
// ShellError naming the folder and the reason; the mode then ends with exit
// code 1.
void enterDataDirectory(const Options& options);
