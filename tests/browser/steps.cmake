# The browser check's steps as tests of their own, read by CTest each time
# it reads the tests (TEST_INCLUDE_FILES, tests/CMakeLists.txt), which sets
# the project's CMake policies, runner (page_test.py), arguments (what it
# takes after the step's name) and prefix. Each step that `page_test.py
# --list` names becomes the test ${prefix}browser.STEP, labelled browser,
# and slow where the step is, with the fixtures it sets up, cleans up or
# requires.
execute_process(COMMAND ${runner} --list
  OUTPUT_VARIABLE listed ERROR_VARIABLE error RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  # Without the list there is no step to run: one test that fails, and
  # shows why.
  add_test(${prefix}browser ${runner} --list)
  set_tests_properties(${prefix}browser PROPERTIES LABELS browser)
  return()
endif()
string(REGEX REPLACE "\n$" "" listed "${listed}")
string(REPLACE "\n" ";" listed "${listed}")
foreach(line IN LISTS listed)
  string(REPLACE " " ";" fields "${line}")
  list(POP_FRONT fields step slow setup cleanup requires)
  set(test ${prefix}browser.${step})
  add_test(${test} ${runner} ${step} ${arguments})
  set(labels browser)
  if(slow STREQUAL "slow")
    list(APPEND labels slow)
  endif()
  set_tests_properties(${test} PROPERTIES LABELS "${labels}")
  if(NOT setup STREQUAL "-")
    set_tests_properties(${test} PROPERTIES FIXTURES_SETUP ${prefix}browser.${setup})
  endif()
  if(NOT cleanup STREQUAL "-")
    set_tests_properties(${test} PROPERTIES FIXTURES_CLEANUP ${prefix}browser.${cleanup})
  endif()
  # Steps that require a fixture (the one browser above all) take turns
  # with it, and start early: their turns would otherwise be the last
  # minutes of the run.
  if(NOT requires STREQUAL "-")
    string(REPLACE "," ";" requires "${requires}")
    list(TRANSFORM requires PREPEND ${prefix}browser.)
    set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED "${requires}" RESOURCE_LOCK "${requires}" COST 100)
  endif()
endforeach()
