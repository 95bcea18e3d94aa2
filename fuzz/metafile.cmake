# SPDX-License-Identifier: GPL-3.0-or-later
# The metafile fuzz target. Its seeds are written at test time with libuemf's writer
# functions, then replayed.
find_path(UEMF_SEEDS_INCLUDE_DIR uemf.h REQUIRED)
add_executable(make_metafile_seeds make_metafile_seeds.cpp)
target_include_directories(make_metafile_seeds PRIVATE ${PROJECT_SOURCE_DIR}/tests/effects)
target_include_directories(make_metafile_seeds SYSTEM PRIVATE ${UEMF_SEEDS_INCLUDE_DIR})
target_link_libraries(make_metafile_seeds PRIVATE Qt6::Core Qt6::Gui ${UEMF_LIBRARY})

tarvik_add_fuzz(NAME metafile SOURCES fuzz_metafile.cpp LIBS tarvik_metafile)

set(seeds ${CMAKE_CURRENT_BINARY_DIR}/corpus/metafile)
add_test(NAME fuzz_metafile_make_seeds COMMAND make_metafile_seeds ${seeds})
add_test(NAME fuzz_metafile_seeds COMMAND fuzz_metafile_replay ${seeds})
set_tests_properties(fuzz_metafile_make_seeds PROPERTIES FIXTURES_SETUP metafile_seeds
  ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
set_tests_properties(fuzz_metafile_seeds PROPERTIES FIXTURES_REQUIRED metafile_seeds
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${TARVIK_TEST_ENVIRONMENT}")
