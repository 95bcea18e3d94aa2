# SPDX-License-Identifier: GPL-3.0-or-later
# Sound, corner picture and browsing on a file system whose calls hang.
if(TARGET tarvik-timer AND TARGET slowfs)
  add_test(NAME e2e_slow_path
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/slow_path.sh $<TARGET_FILE:tarvik-timer>
            $<TARGET_FILE:slowfs>)
  set_tests_properties(e2e_slow_path PROPERTIES
    RUN_SERIAL TRUE
    TIMEOUT 480
    SKIP_RETURN_CODE 77
    ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
endif()
