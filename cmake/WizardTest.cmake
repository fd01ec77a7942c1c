# Wizard tests write the registry, shortcuts and files, so each runs in a Wine
# prefix of its own (copied from the cached template, with its own wineserver)
# beside a store stand-in of its own; see tools/tests/wizard-test.sh.
#
#   add_wizard_test(<name> <script> [TIMEOUT <seconds>] [ENV <VAR=value>...])
# registers test "win.wizard.<name>": the bash script (relative to the calling
# folder) is sourced by the runner, which gives it helper functions and these
# variables: WIN_BIN (the Windows programs), WORK (the test's folder),
# STANDIN_HOST and STANDIN_LOG. Rows of one table belong in one script.
orbela_road_script(wizard-test.sh ${CMAKE_SOURCE_DIR}/tools/tests/wizard-test.sh)
set(ORBELA_WIZARD_TEST ${CMAKE_BINARY_DIR}/road/wizard-test.sh)

function(add_wizard_test name script)
  cmake_parse_arguments(WZ "" "TIMEOUT" "ENV" ${ARGN})
  if(NOT WZ_TIMEOUT)
    set(WZ_TIMEOUT 120)
  endif()
  add_test(NAME win.wizard.${name}
    COMMAND ${ORBELA_WIZARD_TEST} ${CMAKE_CURRENT_SOURCE_DIR}/${script}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(win.wizard.${name} PROPERTIES TIMEOUT ${WZ_TIMEOUT}
    ENVIRONMENT "ORBELA_CACHE=${ORBELA_CACHE};WIN_BIN=${CMAKE_BINARY_DIR}/bin;ORBELA_STORESERVER=${ORBELA_NATIVE_BIN_DIR}/storeserver;WORK=${CMAKE_CURRENT_BINARY_DIR}/wizard-${name};${WZ_ENV}")
endfunction()
