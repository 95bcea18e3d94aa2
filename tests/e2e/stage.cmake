# SPDX-License-Identifier: GPL-3.0-or-later
# Warning colours, overtime, quick starts, the screen kept on and the notification, on
# X11 and on Wayland.
if(TARGET tarvik-timer)
  foreach(script stage stage_wayland)
    add_test(NAME e2e_${script}
      COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${script}.sh $<TARGET_FILE:tarvik-timer>)
    set_tests_properties(e2e_${script} PROPERTIES
      RUN_SERIAL TRUE
      TIMEOUT 240
      ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
  endforeach()
endif()
