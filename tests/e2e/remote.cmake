# SPDX-License-Identifier: GPL-3.0-or-later
# The web remote's API and security rules on the running program, on loopback.
if(TARGET tarvik-timer)
  add_test(NAME e2e_remote
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/remote.sh $<TARGET_FILE:tarvik-timer>)
  set_tests_properties(e2e_remote PROPERTIES
    RUN_SERIAL TRUE
    TIMEOUT 180
    ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
endif()
if(TARGET tarvik-timer)
  add_test(NAME e2e_remote_browser
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/remote_browser.sh $<TARGET_FILE:tarvik-timer>)
  set_tests_properties(e2e_remote_browser PROPERTIES
    RUN_SERIAL TRUE
    TIMEOUT 180
    ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
endif()
if(TARGET tarvik-timer)
  add_test(NAME e2e_remote_browser_sway
    COMMAND env DESKTOP=sway bash ${CMAKE_CURRENT_LIST_DIR}/remote_browser.sh $<TARGET_FILE:tarvik-timer>)
  set_tests_properties(e2e_remote_browser_sway PROPERTIES
    RUN_SERIAL TRUE
    TIMEOUT 180
    ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
endif()
