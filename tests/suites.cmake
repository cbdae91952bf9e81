# velk_test_suites(TARGET [TIMEOUT seconds] [ENVIRONMENT NAME=value...]): one ctest entry per
# GoogleTest suite of TARGET, found after each build of it (tests/list_suites.cmake). A suite runs
# in one process, so a test costs its own work and not a process start; `TARGET --gtest_filter=...`
# runs single tests.
set(VELK_LIST_SUITES ${CMAKE_CURRENT_LIST_DIR}/list_suites.cmake)
function(velk_test_suites target)
  cmake_parse_arguments(arg "" "TIMEOUT" "ENVIRONMENT" ${ARGN})
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 1800)  # a whole suite, under the sanitizers too
  endif()
  set(entries ${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake)
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_include.cmake)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -D EXE=$<TARGET_FILE:${target}> -D OUT=${entries}
            -D WORKDIR=${CMAKE_CURRENT_BINARY_DIR} -D TIMEOUT=${arg_TIMEOUT}
            "-D ENV=${arg_ENVIRONMENT}" -D PREFIX= -P ${VELK_LIST_SUITES}
    BYPRODUCTS ${entries} VERBATIM)
  file(WRITE ${include_file}
    "if(EXISTS [==[${entries}]==])\n  include([==[${entries}]==])\nelse()\n"
    "  add_test([==[${target}_NOT_BUILT]==] [==[${target}_NOT_BUILT]==])\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()
