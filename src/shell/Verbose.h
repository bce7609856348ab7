// The --verbose lines on standard output, one per line in fixed forms that
// scripts read: "video driver NAME", "audio driver NAME",
// "scene INDEX position POSITION seconds SECONDS".
#pragma once

void setVerbose(bool on);
bool verbose();
// printf-style; adds the newline and flushes, so a pipe sees each line at
// once. Does nothing unless verbose.
void verboseLine(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
