#pragma once
#include <cstdio>

namespace platform {

// Whether the stream is a terminal rather than a file or a pipe: progress
// lines rewrite themselves only where someone watches them.
bool isTerminal(std::FILE* stream);

}  // namespace platform
