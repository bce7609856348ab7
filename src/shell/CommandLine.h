// The command line, as users of such programs expect it: long options,
// "--name value" or "--name=value", a usage text, and exit code 2 for what
// cannot be understood.
#pragma once

#include <string>

#include "shell/Options.h"
#include "shell/ShellError.h"

// A command line that cannot be understood; the message names the offending
// argument. main answers it with the usage text and exit code 2.
class CommandLineError : public ShellError {
 public:
  using ShellError::ShellError;
};

// The options of argv[1..argc-1]. Throws CommandLineError.
Options parseCommandLine(int argc, const char* const* argv);

// The usage text, for --help and after an error.
const char* usageText();
