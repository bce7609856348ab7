// The command line, as users of such programs expect it: long options,
// "--name value" or "--name=value", a usage text, and exit code 2 for what
// cannot be understood.
#pragma once

#include <string>

#include "shell/Options.h"

// Fills options from argv[1..argc-1]. False with a message naming the
// offending argument when the line cannot be understood.
bool parseCommandLine(int argc, const char* const* argv, Options* options, std::string* error);

// The usage text, for --help and after an error.
const char* usageText();
