# Writes the flash verdict of the data set in DATA to OUT with the kit in KIT
# (run under EMULATOR in a cross build), and in the same run its plot to PLOT
# and its heat map to HEATMAP when given (scripts/docs puts them in docs/).
# Run with cmake -P: a show that fails the check is a verdict, not a failed
# build; only bad input (status 2) stops the build.
set(pictures)
if(PLOT)
  list(APPEND pictures --plot ${PLOT})
endif()
if(HEATMAP)
  list(APPEND pictures --heatmap ${HEATMAP})
endif()
execute_process(COMMAND ${EMULATOR} ${KIT} flashes ${DATA} --verdict ${OUT} ${pictures} OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0 AND NOT status EQUAL 1)
  message(FATAL_ERROR "vokkit flashes ${DATA} stopped with status ${status}")
endif()
