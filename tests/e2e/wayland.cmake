# SPDX-License-Identifier: GPL-3.0-or-later
# The running program on a Wayland compositor: headless sway as an ordinary user,
# with and without swaybar's tray.
if(TARGET tarvik-timer)
  foreach(script wayland wayland_no_tray)
    add_test(NAME e2e_${script}
      COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${script}.sh $<TARGET_FILE:tarvik-timer>)
    set_tests_properties(e2e_${script} PROPERTIES
      RUN_SERIAL TRUE
      TIMEOUT 240
      ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
  endforeach()
endif()
