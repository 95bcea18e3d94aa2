# SPDX-License-Identifier: GPL-3.0-or-later
# The tray icon on the running program, with trayer as the notification area.
if(TARGET tarvik-timer)
  add_test(NAME e2e_tray
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/tray.sh $<TARGET_FILE:tarvik-timer>)
  set_tests_properties(e2e_tray PROPERTIES
    RUN_SERIAL TRUE
    TIMEOUT 120
    ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
endif()
