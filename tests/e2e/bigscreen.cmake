# Two monitors on headless sway, the program under Wayland and under Xwayland.
if(TARGET tarvik-timer)
  add_test(NAME e2e_bigscreen
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/bigscreen.sh $<TARGET_FILE:tarvik-timer>)
  set_tests_properties(e2e_bigscreen PROPERTIES
    RUN_SERIAL TRUE
    TIMEOUT 240
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/.ci/lsan.supp:print_suppressions=0;LC_ALL=C.UTF-8")
endif()
