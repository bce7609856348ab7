# kyl_library(NAME DEPS ...): one static library per source folder, made of the
# folder's .cpp files. Globbed so that adding a file to a folder needs no edit
# here; an empty folder gives an interface library.
function(kyl_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
  endif()
endfunction()

# kyl_gtest(NAME SOURCES ... LIBS ...): one GoogleTest executable registered
# with ctest, its tests run on SDL's offscreen video and dummy audio so they
# need no display and no sound card.
function(kyl_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE KYL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                             KYL_BINARY_DIR="${PROJECT_BINARY_DIR}")
  # The environment goes in through the launcher: gtest_discover_tests would
  # split a multi-variable ENVIRONMENT property into separate properties and
  # keep only the first variable.
  if(NOT CMAKE_CROSSCOMPILING)
    set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR
      ${CMAKE_COMMAND} -E env SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
      ASAN_OPTIONS=detect_leaks=0)
  endif()
  # Suites that run threads are collected so that the ThreadSanitizer build
  # can build just them.
  if("streaming" IN_LIST ARG_LABELS)
    if(NOT TARGET kyl_streaming_tests)
      add_custom_target(kyl_streaming_tests)
    endif()
    add_dependencies(kyl_streaming_tests ${name})
  endif()
  # A test that hangs fails after five minutes instead of holding CI.
  set(properties TIMEOUT 300)
  if(ARG_LABELS)
    list(APPEND properties LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${properties})
endfunction()
