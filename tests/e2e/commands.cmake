# SPDX-License-Identifier: GPL-3.0-or-later
# Function keys and display modes on the running program.
if(TARGET tarvik-timer)
  add_test(NAME e2e_commands
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/commands.sh $<TARGET_FILE:tarvik-timer>)
  set_tests_properties(e2e_commands PROPERTIES
    RUN_SERIAL TRUE
    TIMEOUT 120
    ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
endif()
