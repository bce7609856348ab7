# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model,
# which std::thread needs). The C and C++ runtimes and winpthread are linked
# statically so that the executable imports only DLLs every Windows has.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KYL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KYL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KYL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KYL_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KYL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static makes the linker take libwinpthread's archive too, not only
# libgcc's and libstdc++'s.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs built here run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
