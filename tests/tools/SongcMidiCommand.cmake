# cmake -DPROGRAM=kyl_songc -DSOURCE=brumtakt.song -DWORK=DIR
#       -P SongcMidiCommand.cmake:
# the MIDI options as a user types them: the round trip in both spellings of
# the output, and the exit codes and messages of a wrong file and a wrong
# command line.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run expected_code expected_text)
  execute_process(COMMAND ${PROGRAM} ${ARGN}
                  RESULT_VARIABLE code ERROR_VARIABLE err OUTPUT_VARIABLE out)
  if(NOT code EQUAL expected_code)
    message(FATAL_ERROR "kyl_songc ${ARGN}: exit ${code}, expected ${expected_code}\n${err}")
  endif()
  if(expected_text AND NOT err MATCHES "${expected_text}")
    message(FATAL_ERROR "kyl_songc ${ARGN}: said\n${err}\nexpected ${expected_text}")
  endif()
endfunction()

run(0 "" ${SOURCE} --export-midi ${WORK}/song.mid)
run(0 "" ${SOURCE} --midi ${WORK}/song.mid -o ${WORK}/a)
run(0 "" ${SOURCE} ${WORK}/b --midi ${WORK}/song.mid --tolerance 0)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/a ${WORK}/b
                RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "the two spellings compiled different songs")
endif()
run(1 "brumtakt.song: not a MIDI file" ${SOURCE} --midi ${SOURCE} -o ${WORK}/c)
if(EXISTS ${WORK}/c)
  message(FATAL_ERROR "a refused MIDI file left a song file behind")
endif()
run(2 "--tolerance takes ticks from 0 to 0.5"
    ${SOURCE} --midi ${WORK}/song.mid --tolerance 2 -o ${WORK}/c)
run(2 "no output given" ${SOURCE} --midi ${WORK}/song.mid)
file(REMOVE_RECURSE ${WORK})
