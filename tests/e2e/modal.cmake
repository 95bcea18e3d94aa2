# SPDX-License-Identifier: GPL-3.0-or-later
# The settings dialog and an error box on the running program, with the tray icon.
if(TARGET tarvik-timer)
  add_test(NAME e2e_modal
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/modal.sh $<TARGET_FILE:tarvik-timer>)
  set_tests_properties(e2e_modal PROPERTIES
    RUN_SERIAL TRUE
    TIMEOUT 120
    ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
endif()
