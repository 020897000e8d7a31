# Runs the program once on an input file and compares the exact bytes of its
# standard output, its exit status and its (empty) standard error.
#   -DPROGRAM=... -DINPUT=... -DEXPECTED=... -DOUTPUT_DIR=... [-DEMULATOR=...]
get_filename_component(name "${INPUT}" NAME_WE)
set(actual_file "${OUTPUT_DIR}/${name}.out")
set(error_file "${OUTPUT_DIR}/${name}.err")
file(MAKE_DIRECTORY "${OUTPUT_DIR}")

execute_process(
  COMMAND ${EMULATOR} "${PROGRAM}"
  INPUT_FILE "${INPUT}"
  OUTPUT_FILE "${actual_file}"
  ERROR_FILE "${error_file}"
  RESULT_VARIABLE status
  TIMEOUT 120)

if(NOT status STREQUAL "0")
  message(FATAL_ERROR "exit status ${status}, expected 0")
endif()
file(SIZE "${error_file}" error_size)
if(NOT error_size EQUAL 0)
  file(READ "${error_file}" errors)
  message(FATAL_ERROR "unexpected standard error:\n${errors}")
endif()
file(READ "${actual_file}" actual HEX)
file(READ "${EXPECTED}" expected HEX)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "standard output differs from ${EXPECTED}\n"
                      "  got:      ${actual}\n  expected: ${expected}")
endif()
