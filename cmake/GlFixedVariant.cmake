# A second copy of the show's libraries and of the program, compiled to draw
# through the fixed-function layer on OpenGL ES 2 (EGL on Mesa), so that the
# layer the web page uses is tested against the real fixed-function pipeline
# on this machine: "kylvander_gles --screenshot" beside "kylvander
# --screenshot". The copies share the sources of the originals.
set(KYL_GLES_LIBRARIES kyl_platform kyl_synth kyl_music kyl_gfx kyl_scenes kyl_shell)

function(kyl_gles_copy name)
  get_target_property(sources ${name} SOURCES)
  get_target_property(source_dir ${name} SOURCE_DIR)
  list(TRANSFORM sources PREPEND ${source_dir}/ REGEX "^[^/]")
  get_target_property(links ${name} LINK_LIBRARIES)
  set(copied_links)
  foreach(link IN LISTS links)
    if(link IN_LIST KYL_GLES_LIBRARIES)
      list(APPEND copied_links ${link}_gles)
    elseif(NOT link MATCHES "^OpenGL::")
      list(APPEND copied_links ${link})
    endif()
  endforeach()
  get_target_property(definitions ${name} COMPILE_DEFINITIONS)
  add_library(${name}_gles STATIC ${sources})
  target_include_directories(${name}_gles PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name}_gles PUBLIC ${copied_links} kyl_glfixed)
  if(definitions)
    target_compile_definitions(${name}_gles PRIVATE ${definitions})
  endif()
endfunction()

foreach(library IN LISTS KYL_GLES_LIBRARIES)
  kyl_gles_copy(${library})
endforeach()

add_executable(kylvander_gles ${PROJECT_SOURCE_DIR}/src/shell/main.cpp)
target_link_libraries(kylvander_gles PRIVATE kyl_shell_gles)
if(TARGET kyl_content)
  add_dependencies(kylvander_gles kyl_content)
endif()
