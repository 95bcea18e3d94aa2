# SPDX-License-Identifier: GPL-3.0-or-later
# The alarm sound plays at its lead and the bar's buttons work, in the real program.
if(TARGET tarvik-timer)
  add_test(NAME e2e_alarm
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/alarm.sh $<TARGET_FILE:tarvik-timer>)
  set_tests_properties(e2e_alarm PROPERTIES
    RUN_SERIAL TRUE
    TIMEOUT 120
    ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
endif()
