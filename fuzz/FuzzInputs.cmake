# The fuzz targets' bodies (FuzzInputs.h), shared by the libFuzzer programs
# (fuzz/CMakeLists.txt) and the replay test (tests/fuzz), which include this.
if(TARGET kyl_fuzz_inputs)
  return()
endif()

add_library(kyl_fuzz_inputs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/GuardedImage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SongImageInput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TgaFileInput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SongSourceInput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MidiFileInput.cpp)
target_include_directories(kyl_fuzz_inputs PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kyl_fuzz_inputs PUBLIC kyl_songc_lib kyl_music kyl_synth kyl_gfx)
