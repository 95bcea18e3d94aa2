# The picture fuzz target (JPEG, bitmap and icon readers), built with a plain replay driver.
# Its seeds are written at test time by ImageMagick and cjpeg, then replayed.
include_guard(GLOBAL)

add_executable(fuzz_picture_replay fuzz_picture.cpp ReplayMain.cpp FuzzCheck.h)
target_link_libraries(fuzz_picture_replay PRIVATE tarvik_effects)

set(seeds ${CMAKE_CURRENT_BINARY_DIR}/corpus/picture)
add_test(NAME fuzz_picture_make_seeds
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/make_picture_seeds.sh ${seeds})
set_tests_properties(fuzz_picture_make_seeds PROPERTIES FIXTURES_SETUP picture_seeds)
add_test(NAME fuzz_picture_seeds COMMAND fuzz_picture_replay ${seeds})
set_tests_properties(fuzz_picture_seeds PROPERTIES FIXTURES_REQUIRED picture_seeds
  ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/.ci/lsan.supp:print_suppressions=0")
