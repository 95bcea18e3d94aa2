# The metafile fuzz target, built with a plain replay driver. Its seeds are
# written at test time with libuemf's writer functions, then replayed.
include_guard(GLOBAL)

if(TARGET tarvik_metafile)
  find_path(UEMF_SEEDS_INCLUDE_DIR uemf.h REQUIRED)

  add_executable(make_metafile_seeds make_metafile_seeds.cpp)
  target_include_directories(make_metafile_seeds PRIVATE ${PROJECT_SOURCE_DIR}/tests/effects)
  target_include_directories(make_metafile_seeds SYSTEM PRIVATE ${UEMF_SEEDS_INCLUDE_DIR})
  target_link_libraries(make_metafile_seeds PRIVATE Qt6::Core Qt6::Gui ${UEMF_LIBRARY})

  add_executable(fuzz_metafile_replay fuzz_metafile.cpp ReplayMain.cpp FuzzCheck.h)
  target_link_libraries(fuzz_metafile_replay PRIVATE tarvik_metafile)

  set(seeds ${CMAKE_CURRENT_BINARY_DIR}/corpus/metafile)
  add_test(NAME fuzz_metafile_make_seeds COMMAND make_metafile_seeds ${seeds})
  set_tests_properties(fuzz_metafile_make_seeds PROPERTIES FIXTURES_SETUP metafile_seeds)
  add_test(NAME fuzz_metafile_seeds COMMAND fuzz_metafile_replay ${seeds})
  set_tests_properties(fuzz_metafile_seeds PROPERTIES FIXTURES_REQUIRED metafile_seeds
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/.ci/lsan.supp:print_suppressions=0")
  set_tests_properties(fuzz_metafile_make_seeds PROPERTIES ENVIRONMENT
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/.ci/lsan.supp:print_suppressions=0")
endif()
