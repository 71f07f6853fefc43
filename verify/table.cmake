# Makes the frame table of the data set in DATA (DATA/frames.sha256) with the
# kit in KIT (run under EMULATOR in a cross build), and checks it against the
# table committed in REFERENCE: the installed table is the committed one, so a
# build whose frames went wrong cannot vouch for itself. With
# VOK_UPDATE_REFERENCE=1 in the environment a different table replaces the
# committed one instead (for a data set changed on purpose; the commit shows it).
# Run with cmake -P.
set(table ${DATA}/frames.sha256)
execute_process(COMMAND ${EMULATOR} ${KIT} check ${DATA} --no-flashes --table
  OUTPUT_VARIABLE report RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${table})
  message(FATAL_ERROR "vokkit check ${DATA} --table stopped with status ${status}:\n${report}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${table} ${REFERENCE} RESULT_VARIABLE differs)
if(NOT differs)
  return()
endif()
if("$ENV{VOK_UPDATE_REFERENCE}" STREQUAL "1")
  file(COPY_FILE ${table} ${REFERENCE})
  message(STATUS "VOK_UPDATE_REFERENCE=1: ${REFERENCE} rewritten from this build's frames")
  return()
endif()

file(RENAME ${table} ${table}.differs)
message(FATAL_ERROR "The frames of this build differ from the committed table ${REFERENCE}"
  " (diff ${REFERENCE} ${table}.differs shows where). Only a change of the data set may change"
  " them: then build with VOK_UPDATE_REFERENCE=1 to rewrite it.")
