# Runs PROGRAM with ARGS (a ;-list), expects exit status 0, then checks that
# the files SAME_A and SAME_B are identical (when given) and that the file
# CONTAINS_FILE holds the text CONTAINS (when given).
separate_arguments(arg_list UNIX_COMMAND "${ARGS}")
execute_process(COMMAND ${PROGRAM} ${arg_list}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc STREQUAL "0")
  message(FATAL_ERROR "exit status ${rc}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(DEFINED SAME_A)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SAME_A} ${SAME_B} RESULT_VARIABLE diff)
  if(NOT diff STREQUAL "0")
    message(FATAL_ERROR "${SAME_A} and ${SAME_B} differ")
  endif()
endif()
if(DEFINED CONTAINS_FILE)
  file(READ ${CONTAINS_FILE} text)
  string(FIND "${text}" "${CONTAINS}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${CONTAINS_FILE} does not hold ${CONTAINS}")
  endif()
endif()
