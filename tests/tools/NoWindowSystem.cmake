# cmake -DPROGRAM=FILE -P NoWindowSystem.cmake: fails when FILE loads SDL, GL,
# X11 or a sound library.
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE libraries RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "ldd ${PROGRAM} failed (${result})")
endif()
foreach(library libSDL2 libGL libGLU libGLX libOpenGL libX11 libasound libpulse)
  if(libraries MATCHES "${library}[-.]")
    message(FATAL_ERROR "${PROGRAM} loads ${library}:\n${libraries}")
  endif()
endforeach()
message(STATUS "${PROGRAM} loads:\n${libraries}")
