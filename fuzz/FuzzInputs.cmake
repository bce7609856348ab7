# The fuzz targets' bodies (FuzzInputs.h), shared by the libFuzzer programs
# (fuzz/CMakeLists.txt) and the replay test (tests/fuzz), which include this.
if(TARGET kyl_fuzz_inputs)
  return()
endif()

add_library(kyl_fuzz_inputs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SongImageInput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TgaFileInput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SongSourceInput.cpp)
target_include_directories(kyl_fuzz_inputs PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kyl_fuzz_inputs PUBLIC kyl_songc_lib kyl_music kyl_synth kyl_gfx)

# Message boxes on standard error only, so that no refused input waits on a
# window. An object library: its objects go into each program ahead of the
# platform library, whose message boxes they replace.
add_library(kyl_stderr_dialogs OBJECT ${CMAKE_CURRENT_LIST_DIR}/StderrDialogs.cpp)
target_include_directories(kyl_stderr_dialogs PRIVATE ${PROJECT_SOURCE_DIR}/src)
