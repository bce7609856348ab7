// Starting the program under test as its own process, the way a user's shell
// would, with an environment the test controls.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

struct ChildStreams {
  std::string in = "/dev/null";  // empty: inherited
  std::string out, err;          // files, truncated; empty: inherited
  int outFd = -1;                // else standard output goes to this descriptor
};

// Starts args[0] (a path, or a name looked up in PATH) with this process's
// environment less the variables named in `drop`, plus `extra` ("NAME=value").
// The process id, or -1 when it could not start.
pid_t startChild(std::vector<std::string> args, const std::vector<std::string>& drop,
                 const std::vector<std::string>& extra, const ChildStreams& streams = {});
