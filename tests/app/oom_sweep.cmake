# Runs PROGRAM with ARGS (a ;-list in which @IN@ and @OUT@ stand for the
# input and output files) once with no allocation failing, then once for
# every STRIDE-th allocation n of that run with VTG_FAIL_ALLOC=n (from FIRST,
# default 1). Each run must either give the same output file and standard
# output as the clean run with exit status 0, or exit with status 1 naming
# the memory failure, with the input unchanged and the output not written.
# INPUT is copied to WORK first.
if(NOT DEFINED STRIDE)
  set(STRIDE 1)
endif()
if(NOT DEFINED FIRST)
  set(FIRST 1)
endif()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
get_filename_component(ext ${INPUT} EXT)
set(in ${WORK}/in${ext})
set(out ${WORK}/out.svg)
file(COPY_FILE ${INPUT} ${in})
file(SHA256 ${in} in_hash)
set(sentinel "not written by the program\n")

separate_arguments(arg_list UNIX_COMMAND "${ARGS}")
list(TRANSFORM arg_list REPLACE "@IN@" ${in})
list(TRANSFORM arg_list REPLACE "@OUT@" ${out})

# Every run starts from the same empty profile: a run that fails must not
# change what the next one reads.
function(run n rc_var out_var err_var)
  file(WRITE ${out} "${sentinel}")
  file(REMOVE_RECURSE ${WORK}/profile)
  file(MAKE_DIRECTORY ${WORK}/profile)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env VTG_FAIL_ALLOC=${n}
      USERPROFILE=${WORK}/profile XDG_CONFIG_HOME=${WORK}/profile/config ${PROGRAM} ${arg_list}
    RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
  set(${rc_var} "${rc}" PARENT_SCOPE)
  set(${out_var} "${o}" PARENT_SCOPE)
  set(${err_var} "${e}" PARENT_SCOPE)
endfunction()

run(0 rc base_stdout err)
if(NOT rc STREQUAL "0")
  message(FATAL_ERROR "the clean run failed (${rc}):\n${err}")
endif()
file(READ ${out} base_file)
if(NOT "${err}" MATCHES "memory: ([0-9]+) allocations")
  message(FATAL_ERROR "the program did not count its allocations:\n${err}")
endif()
set(count ${CMAKE_MATCH_1})

set(problems "")
set(failed 0)
set(succeeded 0)
foreach(n RANGE ${FIRST} ${count} ${STRIDE})
  run(${n} rc o e)
  file(SHA256 ${in} h)
  if(NOT h STREQUAL in_hash)
    string(APPEND problems "n=${n}: the input file changed\n")
  endif()
  if(rc STREQUAL "0")
    math(EXPR succeeded "${succeeded} + 1")
    file(READ ${out} result)
    if(NOT result STREQUAL base_file OR NOT o STREQUAL base_stdout)
      string(APPEND problems "n=${n}: exit 0 with a different result\n${e}\n")
    endif()
  elseif(rc STREQUAL "1")
    math(EXPR failed "${failed} + 1")
    file(READ ${out} result)
    if(NOT result STREQUAL sentinel)
      string(APPEND problems "n=${n}: exit 1, yet the output was written\n")
    endif()
    if(NOT e MATCHES "out of memory \\(-108\\)|十分なメモリがない")
      string(APPEND problems "n=${n}: exit 1 without the memory message:\n${e}\n")
    endif()
  else()
    string(APPEND problems "n=${n}: exit status ${rc}\n${e}\n")
  endif()
endforeach()
message(STATUS "${count} allocations, every ${STRIDE}th from ${FIRST} failed once: "
               "${failed} runs reported it, ${succeeded} gave the same result")
if(NOT problems STREQUAL "")
  message(FATAL_ERROR "${problems}")
endif()
