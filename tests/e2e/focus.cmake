# SPDX-License-Identifier: GPL-3.0-or-later
# The keyboard focus on the running program: under Xvfb, openbox and trayer (and without
# the tray), and on headless sway with swaybar's tray and two outputs.
if(TARGET tarvik-timer)
  foreach(script focus focus_wayland)
    add_test(NAME e2e_${script}
      COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${script}.sh $<TARGET_FILE:tarvik-timer>)
    set_tests_properties(e2e_${script} PROPERTIES
      RUN_SERIAL TRUE
      TIMEOUT 240
      ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
  endforeach()
endif()
