// <windows.h> as the Win32 backend and the GL headers need it: without the
// rarely used parts, and without the min and max macros, which would replace
// std::min and std::max in every file that includes it.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
