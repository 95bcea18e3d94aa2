# SPDX-License-Identifier: GPL-3.0-or-later
# Two monitors on headless sway, the program under Wayland and under Xwayland.
if(TARGET tarvik-timer)
  add_test(NAME e2e_bigscreen
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/bigscreen.sh $<TARGET_FILE:tarvik-timer>)
  set_tests_properties(e2e_bigscreen PROPERTIES
    RUN_SERIAL TRUE
    TIMEOUT 240
    ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
endif()
