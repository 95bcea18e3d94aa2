# The settings fuzz targets, built with a plain replay driver; each replays its seeds as a test.
include_guard(GLOBAL)

foreach(target integer_from_text text_to_color text_to_bool ini_reader)
  add_executable(fuzz_${target}_replay fuzz_${target}.cpp ReplayMain.cpp FuzzCheck.h)
  target_link_libraries(fuzz_${target}_replay PRIVATE tarvik_settings)
  add_test(NAME fuzz_${target}_seeds
    COMMAND fuzz_${target}_replay ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${target})
  set_tests_properties(fuzz_${target}_seeds PROPERTIES ENVIRONMENT
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/.ci/lsan.supp:print_suppressions=0")
endforeach()
