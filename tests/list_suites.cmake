# Run after a test program is built (cmake -P): lists its GoogleTest suites and writes one ctest
# entry per suite, which runs that suite alone (--gtest_filter=<suite>.*) in one process. A failing
# entry's output names each failed test ("[  FAILED  ] Suite.Test").
# Input: EXE, OUT, WORKDIR, TIMEOUT, ENV (a list of NAME=value), PREFIX (for the entries' names).
execute_process(COMMAND ${EXE} --gtest_list_tests WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_VARIABLE listing RESULT_VARIABLE rc TIMEOUT 120)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${EXE} --gtest_list_tests failed (${rc}):\n${listing}")
endif()
string(REPLACE ";" "\\;" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(script "")
set(count 0)
foreach(line IN LISTS lines)
  # A suite line starts in the first column and ends in "." (a typed suite adds "  # TypeParam = ...").
  if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
    set(suite "${CMAKE_MATCH_1}")
    string(APPEND script "add_test([==[${PREFIX}${suite}]==] [==[${EXE}]==] [==[--gtest_filter=${suite}.*]==])\n")
    string(APPEND script "set_tests_properties([==[${PREFIX}${suite}]==] PROPERTIES WORKING_DIRECTORY [==[${WORKDIR}]==] TIMEOUT ${TIMEOUT}")
    if(ENV)
      string(APPEND script " ENVIRONMENT [==[${ENV}]==]")
    endif()
    string(APPEND script ")\n")
    math(EXPR count "${count} + 1")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "${EXE} lists no test suite")
endif()
file(WRITE ${OUT} "${script}")
