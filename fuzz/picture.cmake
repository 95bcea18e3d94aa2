# SPDX-License-Identifier: GPL-3.0-or-later
# The picture fuzz target (JPEG, bitmap and icon readers). Its seeds are written at test
# time by ImageMagick and cjpeg, then replayed.
tarvik_add_fuzz(NAME picture SOURCES fuzz_picture.cpp LIBS tarvik_effects)

set(seeds ${CMAKE_CURRENT_BINARY_DIR}/corpus/picture)
add_test(NAME fuzz_picture_make_seeds
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/make_picture_seeds.sh ${seeds})
set_tests_properties(fuzz_picture_make_seeds PROPERTIES FIXTURES_SETUP picture_seeds)
add_test(NAME fuzz_picture_seeds COMMAND fuzz_picture_replay ${seeds})
set_tests_properties(fuzz_picture_seeds PROPERTIES FIXTURES_REQUIRED picture_seeds
  ENVIRONMENT "${TARVIK_TEST_ENVIRONMENT}")
