# Compiler and linker settings of the web build (emcmake, Debian's
# emscripten). The show's failures are C++ exceptions, so exceptions are on;
# no threads (a plain static host cannot give the page cross-origin
# isolation), so the streaming pass runs from the page's callbacks.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
set(CMAKE_EXECUTABLE_SUFFIX ".js")
# WebAssembly SIMD: the synthesizer's block kernels (the block sine, the
# filter lanes, pulse and triangle) are written on the compiler's vector
# types, which become 128-bit SIMD operations here as SSE ones on the
# desktop; lane by lane the same IEEE operations, so the same floats. No
# -msse flags: their headers would turn on the x86 paths that set the
# flush-to-zero mode, which WebAssembly does not have.
add_compile_options(-msimd128)
# KYL_WEB_PROFILING keeps the functions' names in show.wasm, for the
# browser's profiler.
option(KYL_WEB_PROFILING "Keep function names in the page's WebAssembly" OFF)
if(KYL_WEB_PROFILING)
  add_link_options(--profiling-funcs)
endif()
