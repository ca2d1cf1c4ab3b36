# Runs PROGRAM with ARGS (a ;-list) and checks its exit status, standard
# output and standard error against STATUS, STDOUT and STDERR (regexes).
separate_arguments(arg_list UNIX_COMMAND "${ARGS}")
execute_process(COMMAND ${PROGRAM} ${arg_list}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(DEFINED STATUS AND NOT rc STREQUAL STATUS)
  message(FATAL_ERROR "exit status ${rc}, expected ${STATUS}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(DEFINED STDOUT AND NOT out MATCHES "${STDOUT}")
  message(FATAL_ERROR "stdout does not match ${STDOUT}:\n${out}")
endif()
if(DEFINED STDERR AND NOT err MATCHES "${STDERR}")
  message(FATAL_ERROR "stderr does not match ${STDERR}:\n${err}")
endif()
