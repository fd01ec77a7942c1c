# Windows tests run under Wine through scripts/wine-test.sh. Every CTest run
# copies the cached template prefix once (fixture "wine"), keeps one warm
# wineserver for all tests, and stops it at the end.
#
#   add_wine_test(<name> <target> [TIMEOUT <seconds>] [ARGS <arg>...])
# registers test "win.<name>" that runs <target> in that prefix; the test
# fails on a non-zero exit code, a crash (exit code 5) or a hang.
set(ORBELA_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# orbela_road_script(<name> <script>): a copy of <script> for this tree, which
# runs it on this tree's Windows road (scripts/windows-road.sh).
function(orbela_road_script name script)
  file(WRITE ${CMAKE_BINARY_DIR}/road/${name}
"#!/bin/sh
# Runs ${script} on the Windows road of this tree.
export ORBELA_WINDOWS_ARCH=${ORBELA_WINDOWS_ARCH}
exec \"${script}\" \"$@\"
")
  file(CHMOD ${CMAKE_BINARY_DIR}/road/${name} PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endfunction()
orbela_road_script(wine-test.sh ${CMAKE_SOURCE_DIR}/scripts/wine-test.sh)
set(ORBELA_WINE_TEST ${CMAKE_BINARY_DIR}/road/wine-test.sh)

add_test(NAME win.prefix.start COMMAND ${ORBELA_WINE_TEST} start ${ORBELA_WINE_PREFIX})
add_test(NAME win.prefix.stop COMMAND ${ORBELA_WINE_TEST} stop ${ORBELA_WINE_PREFIX})
set_tests_properties(win.prefix.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 120
  ENVIRONMENT "ORBELA_CACHE=${ORBELA_CACHE}")
set_tests_properties(win.prefix.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

function(add_wine_test name target)
  cmake_parse_arguments(WT "" "TIMEOUT" "ARGS" ${ARGN})
  if(NOT WT_TIMEOUT)
    set(WT_TIMEOUT 60)
  endif()
  add_test(NAME win.${name}
    COMMAND ${ORBELA_WINE_TEST} run ${ORBELA_WINE_PREFIX} ${WT_TIMEOUT} $<TARGET_FILE:${target}> ${WT_ARGS}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  # CTest's own limit is a little longer, so the wrapper's report comes first.
  math(EXPR ctest_timeout "${WT_TIMEOUT} + 15")
  set_tests_properties(win.${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${ctest_timeout})
endfunction()
