# `vertigon update` on DAMAGED (a live object whose data is of a version the
# program cannot read, and a second one whose result is missing): both runs
# exit 1 naming the first object; without --keep-going nothing is written,
# with it the file is what updating the whole file EXPECTED gives (the
# second object regenerated), but for the first object's data version.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(out ${WORK}/out.svg)
set(line "live object of \"a\" was not regenerated: its stored data is damaged or of a version")

execute_process(COMMAND ${PROGRAM} update ${DAMAGED} -o ${out}
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc STREQUAL "1" OR NOT err MATCHES "${line}" OR EXISTS ${out})
  message(FATAL_ERROR "update: exit ${rc} (the output must not exist)\n${err}")
endif()

execute_process(COMMAND ${PROGRAM} update ${DAMAGED} -o ${out} --keep-going
  RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc STREQUAL "1" OR NOT err MATCHES "${line}")
  message(FATAL_ERROR "update --keep-going: exit ${rc}\n${err}")
endif()
execute_process(COMMAND ${PROGRAM} update ${EXPECTED} -o ${WORK}/clean.svg RESULT_VARIABLE rc)
if(NOT rc STREQUAL "0")
  message(FATAL_ERROR "update of ${EXPECTED} failed")
endif()
file(READ ${WORK}/clean.svg text)
string(REPLACE "Circle  ver5 \" vtg:data-version=\"1 0\"" "Circle  ver5 \" vtg:data-version=\"9 0\""
       text "${text}")
file(READ ${out} written)
if(NOT written STREQUAL text)
  message(FATAL_ERROR "update --keep-going did not write the other objects regenerated")
endif()
