# Compiler and linker settings of the web build (emcmake, Debian's
# emscripten). The show's failures are C++ exceptions, so exceptions are on;
# no threads (a plain static host cannot give the page cross-origin
# isolation), so the streaming pass runs from the page's callbacks.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
set(CMAKE_EXECUTABLE_SUFFIX ".js")
