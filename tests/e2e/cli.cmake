# SPDX-License-Identifier: GPL-3.0-or-later
# The command line and the session bus interface on the running program: under Xvfb, and the
# second launch under headless sway.
if(TARGET tarvik-timer)
  foreach(script cli cli_wayland)
    add_test(NAME e2e_${script}
      COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${script}.sh $<TARGET_FILE:tarvik-timer>)
    set_tests_properties(e2e_${script} PROPERTIES
      RUN_SERIAL TRUE
      TIMEOUT 240
      ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
  endforeach()
endif()
