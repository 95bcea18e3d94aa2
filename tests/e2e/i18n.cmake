# SPDX-License-Identifier: GPL-3.0-or-later
# The accessibility tree over the AT-SPI bus.
if(TARGET tarvik-timer)
  add_test(NAME e2e_accessibility
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/accessibility.sh $<TARGET_FILE:tarvik-timer>)
  set_tests_properties(e2e_accessibility PROPERTIES
    RUN_SERIAL TRUE
    TIMEOUT 180
    ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
endif()
# The program in English: the menu and the finish box read off the screen.
if(TARGET tarvik-timer)
  add_test(NAME e2e_english
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/english.sh $<TARGET_FILE:tarvik-timer>)
  set_tests_properties(e2e_english PROPERTIES
    RUN_SERIAL TRUE
    TIMEOUT 180
    ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
endif()
